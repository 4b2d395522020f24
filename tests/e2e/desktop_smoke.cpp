// Smoke test of the window-system, input, shell and process backends on a real (or Wine's)
// desktop: pw_desktop_smoke.exe prints "N passed, M failed" and exits 1 on a failure.
// Needs a display; under Wine run it on Xvfb.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/backend/win32_input.h"
#include "platform/win32/backend/win32_process.h"
#include "platform/win32/backend/win32_shell.h"
#include "platform/win32/backend/win32_window_system.h"
#include "tests/e2e/smoke_tally.h"

namespace pw::smoke {

using namespace pw::win32;
namespace {

constexpr const char* kClass = "PagewardenSmokeWindow";
constexpr const char* kTitle = "Pagewarden smoke window";
// Set for the copy of this program that StartProgram starts.
constexpr const char* kChildVariable = "PW_SMOKE_CHILD";

// What the test window saw.
struct Seen {
  std::vector<UINT> messages;
  int filtered = 0;
  bool Has(UINT message) const {
    for (UINT m : messages)
      if (m == message) return true;
    return false;
  }
};

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* seen = reinterpret_cast<Seen*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (seen != nullptr) {
    if ((message == WM_KEYDOWN || message == WM_KEYUP) && wParam == VK_DOWN) {
      seen->messages.push_back(message);
    }
    if (message == WM_CLOSE) {
      seen->messages.push_back(message);
      return 0;  // stays open: the request is all that is checked
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A pump as the program's: dispatches, counts key releases and what it took for the test
// window, and sleeps in the message wait.
class CountingPump : public MessagePump {
 public:
  void PumpOnce(std::uint64_t wakeBy) override {
    ++passes;
    MSG message{};
    bool any = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      any = true;
      if (message.hwnd != nullptr) {
        auto* seen = reinterpret_cast<Seen*>(GetWindowLongPtrA(message.hwnd, GWLP_USERDATA));
        if (seen != nullptr) ++seen->filtered;
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
      if (message.message == WM_KEYUP && message.wParam < 256) ++releases[message.wParam];
    }
    const ULONGLONG now = GetTickCount64();
    if (!any && wakeBy > now) {
      MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(wakeBy - now), QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
    }
  }
  std::uint64_t KeyReleases(unsigned virtualKey) const override {
    return virtualKey < 256 ? releases[virtualKey] : 0;
  }

  std::uint64_t releases[256] = {};
  int passes = 0;
};

void Pump() {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void NoWindow(Tally& t, Win32WindowSystem& ws) {
  char text[8] = "xyz";
  t.That(ws.GetWindowTextA(0, text, 8) == 0 && text[0] == '\0', "no window: no title");
  std::string blanks(300, ' ');
  t.That(ws.GetClassNameA(0, blanks.data(), 299) == 0, "no window: no class");
  t.That(!ws.IsWindowVisible(0), "no window: not visible");
  t.That(!ws.EnableWindow(0, false) && !ws.ShowWindowAsync(0, SW_RESTORE_),
         "no window: enable and show do nothing");
  Point p{3, 4};
  t.That(!ws.ClientToScreen(0, p) && p.x == 3 && p.y == 4, "no window: the point stays");
  t.That(!ws.SetWindowPos(0, HWND_TOPMOST_, 0, 0, 0, 0, SWP_NOSIZE_NOMOVE_NOACTIVATE),
         "no window: no topmost");
  // user32 would put this in our own queue.
  t.That(!ws.PostMessageA(0, WM_USER + 7, 0, 0), "no window: posting fails");
  MSG message{};
  t.That(!PeekMessageA(&message, nullptr, WM_USER + 7, WM_USER + 7, PM_REMOVE),
         "no window: nothing reaches this thread's queue");
}

void OurWindow(Tally& t, Win32WindowSystem& ws, HWND window, Seen& seen) {
  const auto handle = static_cast<Hwnd>(reinterpret_cast<ULONG_PTR>(window));
  t.That(ws.FindWindowA(kClass, kTitle) == handle, "found by class and title");
  t.That(ws.FindWindowA(nullptr, "PAGEWARDEN SMOKE WINDOW") == handle, "titles match case aside");
  t.That(ws.FindWindowA(nullptr, "Pagewarden smoke") == 0, "only whole titles match");

  char title[256] = {};
  t.That(ws.GetWindowTextA(handle, title, 255) == 23 && std::string(title) == kTitle,
         "the title is read with its length");
  char shortTitle[6] = {};
  t.That(ws.GetWindowTextA(handle, shortTitle, 6) == 5 && std::string(shortTitle) == "Pagew",
         "a short buffer takes the start of the title");
  std::string name(300, ' ');
  const int length = ws.GetClassNameA(handle, name.data(), 299);
  t.That(name.substr(0, static_cast<std::size_t>(length)) == kClass, "the class name is read");
  t.That(ws.IsWindowVisible(handle), "the window is visible");

  ws.EnableWindow(handle, false);
  t.That(IsWindowEnabled(window) == FALSE, "the window is disabled");
  t.That(ws.EnableWindow(handle, true) && IsWindowEnabled(window) != FALSE,
         "enabling it again says it was disabled");

  ws.SetWindowPos(handle, HWND_TOPMOST_, 0, 0, 0, 0, SWP_NOSIZE_NOMOVE_NOACTIVATE);
  t.That((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "the window is topmost");

  POINT expected{10, 20};
  ClientToScreen(window, &expected);
  Point p{10, 20};
  t.That(ws.ClientToScreen(handle, p) && p.x == expected.x && p.y == expected.y,
         "client points become screen points");

  ws.SetCursorPos(120, 130);
  POINT cursor{};
  GetCursorPos(&cursor);
  t.That(cursor.x == 120 && cursor.y == 130, "the cursor is placed");
  const Rect box{100, 100, 300, 200};
  ws.ClipCursor(&box);
  RECT clip{};
  GetClipCursor(&clip);
  t.That(clip.left == 100 && clip.top == 100 && clip.right == 300 && clip.bottom == 200,
         "the cursor is confined");
  ws.ClipCursor(nullptr);
  GetClipCursor(&clip);
  t.That(clip.right - clip.left >= GetSystemMetrics(SM_CXSCREEN), "the cursor is freed");

  t.That(ws.PostMessageA(handle, WM_CLOSE_, 0, 0), "a close request is posted");
  Pump();
  t.That(seen.Has(WM_CLOSE), "the window receives the close request");
}

void Keystroke(Tally& t, HWND window, Seen& seen) {
  SetForegroundWindow(window);
  SetFocus(window);
  Pump();
  if (GetForegroundWindow() != window) {
    t.That(false, "the test window can be brought to the front");
    return;
  }
  seen.messages.clear();
  CountingPump pump;
  Win32Input input(pump);
  input.SendDownArrowAndWait();
  // No pumping here: the keystroke must have been handled inside the call.
  t.That(seen.Has(WM_KEYDOWN) && seen.Has(WM_KEYUP), "the Down arrow is handled before return");
  t.That(seen.filtered > 0 && pump.passes > 0, "the program's pump dispatched it");
}

// Starts this program again; the copy signals the event named after the window style it got.
void Start(Tally& t, Win32Shell& shell, Win32Process& process) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string self = path;
  const std::string folder = process.ProgramFolder();
  t.That(!folder.empty() && folder.back() != '\\' && self.rfind(folder + "\\", 0) == 0,
         "the program folder holds the program, with no trailing backslash");

  HANDLE started = CreateEventA(nullptr, TRUE, FALSE, "PagewardenSmokeChild4");
  SetEnvironmentVariableA(kChildVariable, "1");
  t.That(shell.StartProgram(self, SW_SHOWNOACTIVATE), "the program starts a copy of itself");
  SetEnvironmentVariableA(kChildVariable, nullptr);
  t.That(WaitForSingleObject(started, 20000) == WAIT_OBJECT_0,
         "the copy runs and gets the window style 4");
  CloseHandle(started);
  t.That(!shell.StartProgram(folder + "\\no such program.exe", SW_SHOWNOACTIVATE),
         "a missing program does not start");
  t.That(shell.ShellExecuteA(0, "open", folder + "\\no such file.txt", "", "", SW_SHOWNORMAL) <= 32,
         "opening a missing file reports an error");
}

// The record as the tray module fills it: size, window, identifier, flags, callback message,
// icon, then the tip ended by a NUL and filled up with blanks.
TrayRecord Record(HWND window, HICON icon, const std::string& tip) {
  TrayRecord record{};
  const std::uint32_t fields[6] = {
      88,    static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(window)), 1, 7,
      0x200, static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(icon))};
  std::memcpy(record.data(), fields, sizeof fields);
  std::memset(record.data() + 24, ' ', 64);
  std::memcpy(record.data() + 24, tip.c_str(), tip.size() + 1);
  return record;
}

void TrayIcon(Tally& t, Win32Shell& shell, HWND window) {
  const TrayRecord record = Record(window, LoadIconA(nullptr, IDI_APPLICATION), "Pagewarden ");
  t.That(shell.Shell_NotifyIconA(NIM_ADD_, record), "the tray icon is added");
  t.That(shell.Shell_NotifyIconA(NIM_DELETE_, record), "the tray icon is deleted");
  t.That(!shell.Shell_NotifyIconA(NIM_DELETE_, record), "a deleted icon cannot be deleted again");
}

int Child() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const int style = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1;
  const std::string name = "PagewardenSmokeChild" + std::to_string(style);
  HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name.c_str());
  if (event == nullptr) return 2;
  SetEvent(event);
  CloseHandle(event);
  return 0;
}

}  // namespace
}  // namespace pw::smoke

int main() {
  using namespace pw::smoke;
  if (GetEnvironmentVariableA(kChildVariable, nullptr, 0) != 0) return Child();

  Tally t;
  WNDCLASSEXA type{};
  type.cbSize = sizeof type;
  type.lpfnWndProc = &Proc;
  type.hInstance = GetModuleHandleA(nullptr);
  type.lpszClassName = kClass;
  RegisterClassExA(&type);
  HWND window = CreateWindowExA(0, kClass, kTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300,
                                200, nullptr, nullptr, type.hInstance, nullptr);
  if (window == nullptr) {
    t.That(false, "a test window can be made (is there a display?)");
    return t.Report();
  }
  Seen seen;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&seen));
  Pump();

  pw::win32::Win32WindowSystem ws;
  pw::win32::Win32Shell shell;
  pw::win32::Win32Process process;
  NoWindow(t, ws);
  OurWindow(t, ws, window, seen);
  Keystroke(t, window, seen);
  TrayIcon(t, shell, window);
  Start(t, shell, process);
  DestroyWindow(window);
  return t.Report();
}
