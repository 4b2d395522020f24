// A long run of the real program: browser windows open, change their titles and close, with
// locked and unlocked words, and prompts are answered right, wrong and not at all. Every minute
// the program's USER and GDI objects, kernel handles, windows and working set are recorded.
// Then the monitor is closed 100 times in a row; exactly one copy must be left.
// Run: pw_e2e.exe <pgwatch.exe> --soak MINUTES
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/e2e_driver.h"

namespace pw::e2e {

namespace {

constexpr const char* kPassword = "secret";
constexpr int kStopWithinMs = 3000;
// Past this a stop counts as missed; between the two as late (Wine on a busy machine is slow).
constexpr int kGiveUpMs = 15000;
constexpr int kRestarts = 100;

struct Tally {
  int opened = 0, retitled = 0, closed = 0;
  int stops = 0, late = 0, missed = 0, wrongStops = 0;
  int right = 0, wrong = 0, unanswered = 0, crashes = 0;
};

BOOL CALLBACK CountOwnWindows(HWND window, LPARAM param) {
  auto* count = reinterpret_cast<std::pair<DWORD, int>*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == count->first) {
    ++count->second;
    EnumChildWindows(window, CountOwnWindows, param);
  }
  return TRUE;
}

int WindowsOf(DWORD pid) {
  std::pair<DWORD, int> count{pid, 0};
  EnumWindows(CountOwnWindows, reinterpret_cast<LPARAM>(&count));
  return count.second;
}

BOOL CALLBACK CollectProgramProcesses(HWND window, LPARAM param) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "PagewardenForm") {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    reinterpret_cast<std::set<DWORD>*>(param)->insert(pid);
  }
  return TRUE;
}

// The running copies of the program, by the windows they own.
std::size_t ProgramProcesses() {
  std::set<DWORD> pids;
  EnumWindows(CollectProgramProcesses, reinterpret_cast<LPARAM>(&pids));
  return pids.size();
}

void Record(int minute, HANDLE process, DWORD pid, const Tally& t) {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  K32GetProcessMemoryInfo(process, &memory, sizeof memory);
  DWORD handles = 0;
  GetProcessHandleCount(process, &handles);
  std::printf(
      "minute %3d: user %4lu gdi %4lu handles %4lu windows %3d working set %6lu KiB | "
      "opened %d retitled %d closed %d stops %d late %d missed %d wrong stops %d | answers "
      "right %d wrong %d none %d\n",
      minute, GetGuiResources(process, GR_USEROBJECTS), GetGuiResources(process, GR_GDIOBJECTS),
      handles, WindowsOf(pid), static_cast<unsigned long>(memory.WorkingSetSize / 1024), t.opened,
      t.retitled, t.closed, t.stops, t.late, t.missed, t.wrongStops, t.right, t.wrong,
      t.unanswered);
  std::fflush(stdout);
}

struct Page {
  PlayedWindow* window;
  bool locked;
  bool unlocked = false;  // its own class was let through with the right password
};

std::string Title(bool locked, int n) {
  static const char* kLocked[] = {"Casino", "Poker Night", "roulette wheel"};
  static const char* kFree[] = {"News", "Weather", "Blackjack rules"};  // blackjack is unticked
  const char* word = locked ? kLocked[n % 3] : kFree[n % 3];
  return std::string(word) + " " + std::to_string(n) + " - Microsoft Internet Explorer";
}

}  // namespace

int Soak(Driver& d, int minutes) {
  d.Reset();
  d.PutSetting("UserPassword", kPassword);
  d.PutSetting("TimeDelay", "5");
  d.PutWord(0, "blackjack,0");
  d.PutWord(1, "casino,1");
  d.PutWord(2, "poker,1");
  d.PutWord(3, "roulette,1");
  d.StartProgram();
  if (!d.WaitFor([&] { return d.Monitor() != nullptr; }, 60000)) {
    std::printf("the program did not start\n");
    return 1;
  }
  // Found now: the prompt, once loaded, is a hidden window with the same caption.
  HWND monitor = d.Monitor();
  const DWORD pid = d.ProcessOf(monitor);
  HANDLE process =
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, pid);
  d.Pause(2000);

  std::mt19937 random(20261207);
  auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
  Tally t;
  std::vector<Page> pages;
  auto prompt = [&] { return d.FindVisible("Webkeeper: "); };
  int n = 0;
  const ULONGLONG start = GetTickCount64();
  int recorded = -1;

  auto settle = [&](Page& page) {
    // A locked page in front must be stopped; an unlocked one must not.
    HWND shown = nullptr;
    const bool expect = page.locked && !page.unlocked;
    const ULONGLONG since = GetTickCount64();
    const bool stopped =
        d.WaitFor([&] { return (shown = prompt()) != nullptr; }, expect ? kGiveUpMs : 1000);
    if (expect && !stopped) {
      ++t.missed;
      std::printf("missed: \"%s\", in front: %s\n", d.Text(page.window->hwnd).c_str(),
                  GetForegroundWindow() == page.window->hwnd ? "yes" : "no");
    } else if (expect && GetTickCount64() - since > kStopWithinMs) {
      ++t.late;
    }
    if (!expect && stopped) ++t.wrongStops;
    if (!stopped) return;
    ++t.stops;
    HWND edit = d.FirstChild(shown, "Edit");
    const int answer = static_cast<int>(random() % 3);
    if (answer == 0) {
      ++t.right;
      d.Type(edit, kPassword);
      d.Press(shown, "OK");
      page.unlocked = true;
    } else if (answer == 1) {
      ++t.wrong;
      d.Type(edit, "nope");
      d.Press(shown, "OK");
      d.Pause(300);
      d.Press(shown, "X");
    } else {
      ++t.unanswered;  // the time limit withdraws it
    }
    d.WaitFor([&] { return prompt() == nullptr; }, 15000);
    d.Pause(700);
  };

  while (GetTickCount64() - start < static_cast<ULONGLONG>(minutes) * 60000) {
    const int minute = static_cast<int>((GetTickCount64() - start) / 60000);
    if (minute != recorded) {
      Record(minute, process, pid, t);
      recorded = minute;
    }
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) {
      ++t.crashes;
      std::printf("the program ended by itself\n");
      break;
    }
    // Drop the pages that were closed, by the program or by us, and those the program has asked
    // to close: on a busy machine that request may still be on its way.
    for (auto it = pages.begin(); it != pages.end();) {
      const bool going = !d.Alive(*it->window) || it->window->closeRequests > 0;
      it = going ? pages.erase(it) : it + 1;
    }
    if (!pages.empty() && (pages.size() > 4 || chance(25))) {
      const std::size_t at = random() % pages.size();
      DestroyWindow(pages[at].window->hwnd);
      pages.erase(pages.begin() + static_cast<std::ptrdiff_t>(at));
      ++t.closed;
      d.Pause(300);
      continue;
    }
    if (!pages.empty() && chance(30)) {
      Page& page = pages[random() % pages.size()];
      page.locked = chance(50);
      SetWindowTextA(page.window->hwnd, Title(page.locked, ++n).c_str());
      SetForegroundWindow(page.window->hwnd);
      ++t.retitled;
      settle(page);
      continue;
    }
    // Each page has a class of its own, so a right answer lets only that page through.
    const bool locked = chance(60);
    ++n;
    PlayedWindow& window = d.OpenWindow("SoakFrame" + std::to_string(n), Title(locked, n));
    pages.push_back({&window, locked});
    ++t.opened;
    settle(pages.back());
  }
  Record(minutes, process, pid, t);
  CloseHandle(process);

  // Restart on close, 100 times in a row, with no page left that a fresh copy would prompt for.
  for (const Page& page : pages) DestroyWindow(page.window->hwnd);
  d.Pause(2000);
  int restarts = 0;
  for (int i = 0; i < kRestarts && monitor != nullptr; ++i) {
    const DWORD old = d.ProcessOf(monitor);
    PostMessageA(monitor, WM_CLOSE, 0, 0);
    HWND fresh = nullptr;
    if (!d.WaitFor(
            [&] {
              fresh = d.Monitor();
              return fresh != nullptr && d.ProcessOf(fresh) != old;
            },
            30000)) {
      break;
    }
    monitor = fresh;
    ++restarts;
  }
  d.Pause(3000);
  const std::size_t copies = ProgramProcesses();
  std::printf("restarts: %d of %d; copies of the program at the end: %lu\n", restarts, kRestarts,
              static_cast<unsigned long>(copies));
  const bool ok =
      t.missed == 0 && t.wrongStops == 0 && t.crashes == 0 && restarts == kRestarts && copies == 1;
  std::printf("soak %s\n", ok ? "PASSED" : "FAILED");
  d.Reset();
  return ok ? 0 : 1;
}

}  // namespace pw::e2e
