// A browser window that stops answering must not stall the guard: its other windows, its tray
// and its timers go on, and the hung window is stopped once it answers again.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/e2e_driver.h"

namespace pw::e2e {

namespace {

constexpr DWORD kHangMs = 15000;
constexpr const char* kHungClass = "HungFrame";
constexpr const char* kHungTitle = "Casino Royale - Microsoft Internet Explorer";
constexpr const char* kAnsweringTitle = "Casino Night - Microsoft Internet Explorer";

LRESULT CALLBACK HungProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A copy of this driver that plays the hung browser, in a process of its own as a browser is:
// a window of our own process would hang our own calls on it too.
HANDLE StartHungBrowser() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = std::string("\"") + self + "\" --hang";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return nullptr;
  }
  CloseHandle(info.hThread);
  return info.hProcess;
}

}  // namespace

// The hung browser: its window comes to the front, then its thread sleeps and reads no message,
// as a browser busy in a script does; afterwards it answers until it is closed.
int HungBrowserProcess() {
  WNDCLASSA cls{};
  cls.lpfnWndProc = HungProc;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.lpszClassName = kHungClass;
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&cls);
  HWND window = CreateWindowExA(0, kHungClass, kHungTitle, WS_OVERLAPPEDWINDOW, 80, 80, 400, 300,
                                nullptr, nullptr, cls.hInstance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  Sleep(kHangMs);
  return PumpUntilQuit(false);
}

std::vector<std::string> HungBrowser(Driver& d) {
  std::vector<std::string> failures;
  auto check = [&](bool ok, const char* what) {
    if (!ok) failures.emplace_back(what);
  };
  auto prompt = [&] { return d.FindVisible("Webkeeper: "); };
  auto answers = [](HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &result) != 0;
  };

  d.PutWord(0, "casino,1");
  check(d.StartProgram(), "the program starts");
  if (!d.WaitFor([&] { return d.Monitor() != nullptr; }, 30000)) {
    failures.emplace_back("the monitor comes up");
    return failures;
  }
  d.Pause(1000);
  // Found now: later other hidden windows of the program may carry the same caption.
  const HWND monitor = d.Monitor();

  HANDLE browser = StartHungBrowser();
  check(browser != nullptr, "the hung browser starts");
  HWND hung = nullptr;
  d.WaitFor(
      [&] {
        hung = FindWindowA(kHungClass, nullptr);
        return hung != nullptr && IsWindowVisible(hung);
      },
      30000);
  const ULONGLONG hangStart = GetTickCount64();
  auto hanging = [&] { return GetTickCount64() - hangStart < kHangMs; };

  d.Pause(2000);
  check(d.WaitFor([&] { return answers(monitor); }, 2000),
        "the guard answers while the browser hangs");

  PlayedWindow& other = d.OpenWindow("IEFrame", kAnsweringTitle);
  HWND shown = nullptr;
  ULONGLONG since = GetTickCount64();
  d.WaitFor(
      [&] {
        shown = prompt();
        return shown != nullptr && IsWindowEnabled(other.hwnd) == FALSE;
      },
      10000);
  const ULONGLONG stoppedAfter = GetTickCount64() - since;
  check(shown != nullptr && stoppedAfter <= 3000,
        "an answering locked window is stopped within 3 s");
  check(shown != nullptr && d.Text(shown).find("Casino Night") != std::string::npos,
        "the prompt is for the answering window");
  if (shown != nullptr) d.Press(shown, "X");
  check(d.WaitFor([&] { return other.closeRequests > 0 && prompt() == nullptr; }, 5000),
        "dismissing it closes the answering window");

  d.Pause(1000);
  PostMessageA(monitor, 0x200, 1, 515);  // the shell's callback for a double-click
  since = GetTickCount64();
  d.WaitFor([&] { return (shown = prompt()) != nullptr; }, 10000);
  const ULONGLONG setupAfter = GetTickCount64() - since;
  check(shown != nullptr && setupAfter <= 1000,
        "a tray double-click asks for the setup password within 1 s");
  std::printf(
      "    hung browser: the answering window was stopped after %llu ms, the setup prompt "
      "came after %llu ms\n",
      static_cast<unsigned long long>(stoppedAfter), static_cast<unsigned long long>(setupAfter));
  check(hanging(), "all this while the browser still hangs");
  if (shown != nullptr) d.Press(shown, "X");
  check(d.WaitFor([&] { return prompt() == nullptr; }, 5000), "the setup prompt goes");

  d.WaitFor([&] { return !hanging(); }, kHangMs);
  check(d.WaitFor([&] { return answers(hung); }, 5000), "the browser answers again");
  SetForegroundWindow(hung);
  check(d.WaitFor(
            [&] {
              shown = prompt();
              return shown != nullptr && IsWindowEnabled(hung) == FALSE;
            },
            3000),
        "the hung window is stopped once it answers");
  if (shown != nullptr) d.Press(shown, "X");
  check(d.WaitFor([&] { return IsWindow(hung) == FALSE; }, 5000), "and closed when refused");

  if (browser != nullptr && WaitForSingleObject(browser, 5000) != WAIT_OBJECT_0) {
    TerminateProcess(browser, 0);
  }
  if (browser != nullptr) CloseHandle(browser);
  return failures;
}

}  // namespace pw::e2e
