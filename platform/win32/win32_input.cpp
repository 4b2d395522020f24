#include "platform/win32/win32_input.h"

#include <windows.h>

namespace pw {

namespace {

constexpr ULONGLONG kLongestWaitMs = 1000;

bool IsOurs(HWND window) {
  return window != nullptr && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

}  // namespace

void Win32Input::SendDownArrowAndWait() {
  const bool ours = IsOurs(GetForegroundWindow());
  INPUT keys[2] = {};
  keys[0].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = VK_DOWN;
  // An arrow key is an extended key; without the flag it would be the number pad's 2.
  keys[0].ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
  keys[1] = keys[0];
  keys[1].ki.dwFlags = KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP;
  if (SendInput(2, keys, sizeof(INPUT)) != 2 || !ours) return;

  const ULONGLONG deadline = GetTickCount64() + kLongestWaitMs;
  for (;;) {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      // The event loop keeps running until its monitor ends; a quit request changes nothing.
      if (message.message == WM_QUIT) continue;
      const bool released = message.message == WM_KEYUP && message.wParam == VK_DOWN;
      if (filter_ == nullptr || !filter_(message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      if (released) return;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

void Win32Input::Beep() {
  MessageBeep(MB_OK);
}

}  // namespace pw
