#include "platform/win32/backend/win32_foreground_events.h"

namespace pw::win32 {

namespace {

constexpr DWORD kHookFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;

// A WinEvent callback carries no context of ours, only its hook handle. One watcher per process
// is all the program needs, so the callback finds it here.
Win32ForegroundEvents*& Listener() {
  static Win32ForegroundEvents* listener = nullptr;
  return listener;
}

}  // namespace

Win32ForegroundEvents::~Win32ForegroundEvents() {
  Stop();
}

void Win32ForegroundEvents::Watch(std::function<void()> changed) {
  Stop();
  if (!changed) return;
  changed_ = std::move(changed);
  Listener() = this;
  foreground_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                &Win32ForegroundEvents::OnEvent, 0, 0, kHookFlags);
  FollowNamesOf(GetForegroundWindow());
}

void Win32ForegroundEvents::Stop() {
  if (foreground_ != nullptr) UnhookWinEvent(foreground_);
  if (names_ != nullptr) UnhookWinEvent(names_);
  foreground_ = nullptr;
  names_ = nullptr;
  namesProcess_ = 0;
  changed_ = nullptr;
  if (Listener() == this) Listener() = nullptr;
}

void Win32ForegroundEvents::FollowNamesOf(HWND front) {
  DWORD process = 0;
  if (front != nullptr) GetWindowThreadProcessId(front, &process);
  if (process == namesProcess_ && names_ != nullptr) return;
  if (names_ != nullptr) UnhookWinEvent(names_);
  names_ = nullptr;
  namesProcess_ = process;
  if (process == 0 || process == GetCurrentProcessId()) return;
  names_ = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
                           &Win32ForegroundEvents::OnEvent, process, 0, kHookFlags);
}

void CALLBACK Win32ForegroundEvents::OnEvent(HWINEVENTHOOK /*hook*/, DWORD event, HWND window,
                                             LONG object, LONG child, DWORD /*thread*/,
                                             DWORD /*time*/) {
  Win32ForegroundEvents* self = Listener();
  if (self == nullptr || !self->changed_) return;
  if (event == EVENT_SYSTEM_FOREGROUND) {
    self->FollowNamesOf(window);
  } else if (object != OBJID_WINDOW || child != CHILDID_SELF || window != GetForegroundWindow()) {
    // A control's name, or a window behind: the title in front is unchanged.
    return;
  }
  self->changed_();
}

}  // namespace pw::win32
