#include "platform/win32/backend/win32_input.h"

#include "platform/win32/backend/win32_failures.h"

#include <windows.h>

namespace pw::win32 {

namespace {

constexpr ULONGLONG kLongestWaitMs = 1000;

bool IsOurs(HWND window) {
  return window != nullptr && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

LRESULT CALLBACK SwallowSwitchKeys(int code, WPARAM message, LPARAM info) {
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(info);
    // The flag marks Alt held for keys typed; Wine leaves it out for injected ones, whose Alt
    // the key state still shows.
    const bool alt = (key->flags & LLKHF_ALTDOWN) != 0 || (GetAsyncKeyState(VK_MENU) & 0x8000) != 0;
    const KeyPress press{static_cast<unsigned>(key->vkCode), alt,
                         (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0};
    if (SwitchesAway(press)) return 1;
  }
  return CallNextHookEx(nullptr, code, message, info);
}

}  // namespace

Win32Input::~Win32Input() {
  HoldSwitchKeys(false);
}

void Win32Input::HoldSwitchKeys(bool hold) {
  if (hold == static_cast<bool>(hook_)) return;
  if (!hold) {
    hook_.reset();
    return;
  }
  // Without the hook the prompt still holds the cursor; the keys then work as ever.
  hook_.reset(SetWindowsHookExW(WH_KEYBOARD_LL, SwallowSwitchKeys, GetModuleHandleW(nullptr), 0));
  if (!hook_) win32::WriteFailure("Holding the switching keys", GetLastError());
}

void Win32Input::SendDownArrowAndWait() {
  const bool ours = IsOurs(GetForegroundWindow());
  const std::uint64_t releasedBefore = pump_.KeyReleases(VK_DOWN);
  INPUT keys[2] = {};
  keys[0].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = VK_DOWN;
  // An arrow key is an extended key; without the flag it would be the number pad's 2.
  keys[0].ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
  keys[1] = keys[0];
  keys[1].ki.dwFlags = KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP;
  if (SendInput(2, keys, sizeof(INPUT)) != 2 || !ours) return;

  const ULONGLONG deadline = GetTickCount64() + kLongestWaitMs;
  while (pump_.KeyReleases(VK_DOWN) == releasedBefore && GetTickCount64() < deadline) {
    pump_.PumpOnce(deadline);
  }
}

void Win32Input::Beep() {
  MessageBeep(MB_OK);
}

}  // namespace pw::win32
