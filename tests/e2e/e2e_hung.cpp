// A browser window that stops answering must not stall the guard: its other windows, its tray
// and its timers go on, and the hung window is stopped once it answers again.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "tests/e2e/e2e_driver.h"

namespace pw::e2e {

namespace {

constexpr DWORD kHangMs = 15000;
constexpr const char* kHungTitle = "Casino Royale - Microsoft Internet Explorer";
constexpr const char* kAnsweringTitle = "Casino Night - Microsoft Internet Explorer";

// A browser window on a thread of its own, which sleeps right after coming to the front and
// reads no message meanwhile, as a browser busy in a script does.
struct HungWindow {
  HANDLE shown = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HWND hwnd = nullptr;
  std::atomic<int> closeRequests{0};

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<HungWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_CLOSE && self != nullptr) ++self->closeRequests;
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }

  static DWORD WINAPI Run(LPVOID param) {
    auto* self = static_cast<HungWindow*>(param);
    WNDCLASSA cls{};
    cls.lpfnWndProc = Proc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "HungFrame";
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&cls);
    self->hwnd = CreateWindowExA(0, cls.lpszClassName, kHungTitle, WS_OVERLAPPEDWINDOW, 80, 80, 400,
                                 300, nullptr, nullptr, cls.hInstance, nullptr);
    SetWindowLongPtrA(self->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    ShowWindow(self->hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(self->hwnd);
    SetEvent(self->shown);
    Sleep(kHangMs);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    return 0;
  }
};

}  // namespace

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

  HungWindow hung;
  HANDLE thread = CreateThread(nullptr, 0, &HungWindow::Run, &hung, 0, nullptr);
  WaitForSingleObject(hung.shown, 10000);
  const ULONGLONG hangStart = GetTickCount64();
  auto hanging = [&] { return GetTickCount64() - hangStart < kHangMs; };

  d.Pause(2000);
  check(answers(d.Monitor()), "the guard answers while the browser hangs");

  PlayedWindow& other = d.OpenWindow("IEFrame", kAnsweringTitle);
  HWND shown = nullptr;
  check(d.WaitFor(
            [&] {
              shown = prompt();
              return shown != nullptr && IsWindowEnabled(other.hwnd) == FALSE;
            },
            3000),
        "an answering locked window is stopped within 3 s");
  check(shown != nullptr && d.Text(shown).find("Casino Night") != std::string::npos,
        "the prompt is for the answering window");
  if (shown != nullptr) d.Press(shown, "X");
  check(d.WaitFor([&] { return other.closeRequests > 0 && prompt() == nullptr; }, 5000),
        "dismissing it closes the answering window");

  PostMessageA(d.Monitor(), 0x200, 1, 515);  // the shell's callback for a double-click
  check(d.WaitFor([&] { return (shown = prompt()) != nullptr; }, 1000),
        "a tray double-click asks for the setup password within 1 s");
  check(hanging(), "all this while the browser still hangs");
  if (shown != nullptr) d.Press(shown, "X");
  check(d.WaitFor([&] { return prompt() == nullptr; }, 5000), "the setup prompt goes");

  d.WaitFor([&] { return !hanging(); }, kHangMs);
  check(d.WaitFor([&] { return answers(hung.hwnd); }, 5000), "the browser answers again");
  SetForegroundWindow(hung.hwnd);
  check(d.WaitFor(
            [&] {
              shown = prompt();
              return shown != nullptr && IsWindowEnabled(hung.hwnd) == FALSE;
            },
            3000),
        "the hung window is stopped once it answers");
  if (shown != nullptr) d.Press(shown, "X");
  check(d.WaitFor([&] { return hung.closeRequests > 0; }, 5000), "and closed when refused");

  PostMessageA(hung.hwnd, WM_CLOSE, 0, 0);
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
  CloseHandle(hung.shown);
  return failures;
}

}  // namespace pw::e2e
