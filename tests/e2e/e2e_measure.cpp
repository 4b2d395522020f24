// Measurements of the real program under Wine: the figures for long word lists first
// (e2e_measure_lists.cpp), then CPU use idle and with a prompt open, resident memory, the time
// from a locked page reaching the front to its being frozen, from OK with the right password to
// the page being usable again, and start-up with 1000 stored words.
// Run: pw_e2e.exe <pgwatch.exe> --measure
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/e2e_driver.h"
#include "tests/e2e/e2e_scenarios.h"

namespace pw::e2e {

namespace {

double CpuSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
  auto seconds = [](const FILETIME& t) {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return static_cast<double>(v.QuadPart) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

// Share of one core the program used over the period, in percent.
double CpuShare(Driver& d, HANDLE process, int ms) {
  const double before = CpuSeconds(process);
  const ULONGLONG start = GetTickCount64();
  d.Pause(ms);
  const double used = CpuSeconds(process) - before;
  return 100.0 * used / (static_cast<double>(GetTickCount64() - start) / 1000.0);
}

double ResidentMiB(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!K32GetProcessMemoryInfo(process, &counters, sizeof counters)) return -1;
  return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// Calls back with the name of each entry of a folder.
template <class Visit>
void EachEntry(const std::string& folder, Visit visit) {
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!visit(std::string(entry.cFileName))) break;
  } while (FindNextFileA(find, &entry));
  FindClose(find);
}

// Under Wine only: how often the guard's threads gave up the processor (a wait, or a call into
// wineserver, which waits for its answer), from the Linux /proc through Wine's drive Z:. The
// guard is the process whose command line names pgwatch.exe (this driver names it too, as its
// argument) and that runs in our Wine prefix: others may run guards of their own on the same
// machine. -1 where there is no such folder.
// Calls back with the /proc folder of each Linux thread of the guard under test: a pgwatch.exe
// in our own Wine prefix (another may run on the same machine). False when there is none.
template <class Visit>
bool EachGuardThread(Visit visit) {
  char prefix[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
  const std::string ours =
      length > 0 && length < MAX_PATH
          ? std::string(1, '\0') + "WINEPREFIX=" + prefix + std::string(1, '\0')
          : std::string();
  bool found = false;
  EachEntry("Z:\\proc", [&](const std::string& pid) {
    if (pid.empty() || !std::all_of(pid.begin(), pid.end(), [](char c) { return std::isdigit(c); }))
      return true;
    const std::string folder = "Z:\\proc\\" + pid;
    const std::string command = ReadAll(folder + "\\cmdline");
    if (command.find("pgwatch.exe") == std::string::npos ||
        command.find("pw_e2e") != std::string::npos ||
        (!ours.empty() &&
         (std::string(1, '\0') + ReadAll(folder + "\\environ")).find(ours) == std::string::npos)) {
      return true;
    }
    found = true;
    EachEntry(folder + "\\task", [&](const std::string& task) {
      if (task != "." && task != "..") visit(folder + "\\task\\" + task);
      return true;
    });
    return false;
  });
  return found;
}

long long ContextSwitches() {
  long long total = 0;
  const bool found = EachGuardThread([&](const std::string& task) {
    const std::string status = ReadAll(task + "\\status");
    const std::string key = "\nvoluntary_ctxt_switches:";
    const std::size_t at = status.find(key);
    if (at != std::string::npos) total += std::atoll(status.c_str() + at + key.size());
  });
  return found ? total : -1;
}

// The guard's time on a core as the Linux scheduler counts it, in nanoseconds: exact, where the
// process times Wine reports are sampled at each 10 ms clock tick.
long long ScheduledNs() {
  long long total = 0;
  const bool found = EachGuardThread(
      [&](const std::string& task) { total += std::atoll(ReadAll(task + "\\schedstat").c_str()); });
  return found ? total : -1;
}

// The guard's own count of the times it woke from its wait (its pump window answers a registered
// message with it); -1 where it does not answer.
long long WakeUps() {
  const HWND pump = FindWindowExW(HWND_MESSAGE, nullptr, L"PagewardenPump", nullptr);
  const UINT message = RegisterWindowMessageW(L"PagewardenWakeUps");
  DWORD_PTR count = 0;
  if (pump == nullptr || SendMessageTimeoutW(pump, message, 0, 0, SMTO_NORMAL, 5000, &count) == 0) {
    return -1;
  }
  return static_cast<long long>(count);
}

constexpr const char* kLockedPage = "Casino Royale - Microsoft Internet Explorer";
constexpr const char* kStartPage = "Start page - Microsoft Internet Explorer";
constexpr int kTries = 20;
constexpr double kScanPeriod = 250;

// Serves our windows and looks every millisecond until the page is frozen; false on time-out.
// Notes when the page was first seen in front, which under Wine can be a while after it was shown.
bool AwaitFreeze(const PlayedWindow& page, double* inFrontAt = nullptr) {
  const double until = PreciseMs() + 5000;
  while (page.disabledAt == 0 && PreciseMs() < until) {
    if (inFrontAt != nullptr && *inFrontAt == 0 && GetForegroundWindow() == page.hwnd) {
      *inFrontAt = PreciseMs();
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return page.disabledAt != 0;
}

void PauseUntil(Driver& d, double at) {
  const double left = at - PreciseMs();
  if (left > 0) d.Pause(static_cast<int>(left));
}

void Report(const char* what, std::vector<double> ms) {
  if (ms.empty()) {
    std::printf("%s: no page was frozen\n", what);
    return;
  }
  std::string all;
  for (double m : ms) all += " " + std::to_string(static_cast<long>(m + 0.5));
  std::sort(ms.begin(), ms.end());
  const double median = (ms[(ms.size() - 1) / 2] + ms[ms.size() / 2]) / 2;
  std::printf("%s: median %.0f ms, fastest %.0f ms, slowest %.0f ms over %zu tries;%s\n", what,
              median, ms.front(), ms.back(), ms.size(), all.c_str());
}

// The time from a locked page reaching the front, or a page in front turning locked, to its being
// frozen. With the prompt switched off the program freezes, closes and waits 500 ms, so the tries
// follow each other quickly. The scan ticks follow the end of that wait, so a try started a fixed
// time after the last freeze plus a growing step meets the scan period at a new point each time. (A
// schedule that does not wait for the last freeze runs into a two-second stall under Wine.)
void FreezeLatencies(Driver& d) {
  d.Reset();
  d.PutWord(0, "casino,1");
  d.PutSetting("passwordprompt", "1");
  d.StartProgram();
  d.WaitFor([&] { return d.Monitor() != nullptr; }, 60000);
  d.Pause(1500);

  std::vector<double> shown, front;
  double last = PreciseMs();
  for (int i = 0; i < kTries; ++i) {
    PauseUntil(d, last + 1000 + 5 + i * kScanPeriod / kTries);
    PlayedWindow& page = d.OpenWindow("IEFrame", kLockedPage, 0);
    double inFront = GetForegroundWindow() == page.hwnd ? page.frontAt : 0;
    if (!AwaitFreeze(page, &inFront)) break;
    shown.push_back(page.disabledAt - page.shownAt);
    // Frozen before we saw it in front: it was in front when our call to bring it there returned.
    if (inFront == 0 || inFront > page.disabledAt) inFront = page.frontAt;
    front.push_back(page.disabledAt - inFront);
    last = page.disabledAt;
  }
  Report("locked page shown to frozen", shown);
  Report("locked page in front to frozen", front);

  std::vector<double> title;
  for (int i = 0; i < kTries; ++i) {
    PauseUntil(d, last + 800);
    PlayedWindow& page = d.OpenWindow("IEFrame", kStartPage, 0);
    PauseUntil(d, last + 1250 + 5 + i * kScanPeriod / kTries);
    if (page.disabledAt != 0) break;  // the start page must not count as locked
    const double changed = PreciseMs();
    SetWindowTextA(page.hwnd, kLockedPage);
    if (!AwaitFreeze(page)) break;
    title.push_back(page.disabledAt - changed);
    last = page.disabledAt;
  }
  Report("page in front turning locked to frozen", title);
}

// Milliseconds from starting the program until its monitor window exists.
long StartUp(Driver& d) {
  const ULONGLONG start = GetTickCount64();
  d.StartProgram();
  d.WaitFor([&] { return d.Monitor() != nullptr; }, 60000);
  return static_cast<long>(GetTickCount64() - start);
}

// Answers the open prompt with the right password and reports how long after the click on OK the
// page was enabled and how long a message sent to the guard right after the click took.
void AnswerRight(Driver& d, HWND monitor, HWND prompt, PlayedWindow& page) {
  d.Type(d.FirstChild(prompt, "Edit"), "secret");
  const ULONGLONG clicked = GetTickCount64();
  d.Press(prompt, "OK");
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(monitor, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
  const auto answered = static_cast<long>(GetTickCount64() - clicked);
  const bool freed = d.MillisUntil([&] { return IsWindowEnabled(page.hwnd) != FALSE; }, 10000) >= 0;
  const auto enabled = static_cast<long>(GetTickCount64() - clicked);
  std::printf("right password: page enabled %ld ms after OK; the guard answered in %ld ms\n",
              freed ? enabled : -1L, answered);
}

}  // namespace

int Measure(Driver& d) {
  MeasureLongLists(d);
  d.Reset();
  const long empty = StartUp(d);
  d.Reset();
  for (int n = 0; n < 1000; ++n) d.PutWord(n, "locked word " + std::to_string(n) + ",1");
  d.PutSetting("UserPassword", "secret");
  const long full = StartUp(d);
  std::printf("start-up: %ld ms with no words, %ld ms with 1000 words\n", empty, full);

  HWND monitor = d.Monitor();
  HANDLE process =
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, d.ProcessOf(monitor));
  // Idle as a user would have it: a page that is not locked in front.
  d.OpenWindow("IEFrame", kStartPage);
  d.Pause(3000);
  const long long switched = ContextSwitches();
  const long long scheduled = ScheduledNs();
  const long long woken = WakeUps();
  const ULONGLONG idleFrom = GetTickCount64();
  const double idle = CpuShare(d, process, 30000);
  const double idleSeconds = static_cast<double>(GetTickCount64() - idleFrom) / 1000.0;
  const long long onCore = ScheduledNs() - scheduled;
  const long long switches = ContextSwitches() - switched;
  // Less the one for our own question.
  const long long wakeUps = WakeUps() - woken - 1;
  if (scheduled >= 0) {
    std::printf(
        "idle: %.2f%% of a core over 30 s (the scheduler's own count; %.2f%% by the "
        "process times, which count whole clock ticks)",
        100.0 * static_cast<double>(onCore) / 1e9 / idleSeconds, idle);
  } else {
    std::printf("idle: %.2f%% of a core over 30 s", idle);
  }
  if (switched >= 0)
    std::printf(
        "; %.1f context switches a second (its Linux threads; under Wine each call into wineserver "
        "counts one)",
        switches / 30.0);
  if (woken >= 0 && wakeUps >= 0) std::printf("; %.1f wake-ups a second", wakeUps / 30.0);
  std::printf("\n");
  std::printf("resident memory: %.1f MiB\n", ResidentMiB(process));

  d.PutWord(0, "casino,1");
  PlayedWindow& page = d.OpenWindow("IEFrame", "locked word 999 - Microsoft Internet Explorer");
  d.WaitFor([&] { return !IsWindowEnabled(page.hwnd); }, 30000);
  d.WaitFor([&] { return d.FindVisible("Webkeeper: ") != nullptr; }, 30000);
  d.Pause(2000);
  std::printf("prompt open: %.2f%% of a core over 30 s\n", CpuShare(d, process, 30000));
  std::printf("resident memory with the prompt: %.1f MiB\n", ResidentMiB(process));
  for (int round = 0; round < 3; ++round) {
    HWND prompt = d.FindVisible("Webkeeper: ");
    PlayedWindow* locked = &page;
    if (round > 0) {
      // The class let through before is exempt now; a page of a new class is stopped.
      locked = &d.OpenWindow("Browser" + std::to_string(round),
                             "locked word 999 - Microsoft Internet Explorer");
      d.WaitFor([&] { return (prompt = d.FindVisible("Webkeeper: ")) != nullptr; }, 30000);
      d.Pause(1000);
    }
    if (prompt == nullptr) break;
    AnswerRight(d, monitor, prompt, *locked);
    d.Pause(500);
  }
  CloseHandle(process);
  d.Reset();
  return 0;
}

int MeasureFreezes(Driver& d) {
  FreezeLatencies(d);
  d.Reset();
  return 0;
}

}  // namespace pw::e2e
