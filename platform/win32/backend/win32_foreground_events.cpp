#include "platform/win32/backend/win32_foreground_events.h"

#include "platform/win32/backend/win32_failures.h"

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

void Win32ForegroundEvents::Watch(std::function<void(Change)> changed) {
  Stop();
  if (!changed) return;
  changed_ = std::move(changed);
  Listener() = this;
  foreground_.reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                    &Win32ForegroundEvents::OnEvent, 0, 0, kHookFlags));
  focus_.reset(SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr,
                               &Win32ForegroundEvents::OnEvent, 0, 0, kHookFlags));
  // Without them the guard looks for itself, as often as where the system reports nothing.
  if (!foreground_ || !focus_) win32::WriteFailure("Following the window in front", GetLastError());
  FollowNamesOf(GetForegroundWindow());
}

void Win32ForegroundEvents::Stop() {
  foreground_.reset();
  focus_.reset();
  names_.reset();
  namesProcess_ = 0;
  changed_ = nullptr;
  if (Listener() == this) Listener() = nullptr;
}

void Win32ForegroundEvents::FollowNamesOf(HWND front) {
  DWORD process = 0;
  if (front != nullptr) GetWindowThreadProcessId(front, &process);
  if (process == namesProcess_ && names_) return;
  names_.reset();
  namesProcess_ = process;
  if (process == 0 || process == GetCurrentProcessId()) return;
  names_.reset(SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
                               &Win32ForegroundEvents::OnEvent, process, 0, kHookFlags));
}

void CALLBACK Win32ForegroundEvents::OnEvent(HWINEVENTHOOK /*hook*/, DWORD event, HWND window,
                                             LONG object, LONG child, DWORD /*thread*/,
                                             DWORD /*time*/) {
  Win32ForegroundEvents* self = Listener();
  if (self == nullptr || !self->changed_) return;
  if (event == EVENT_SYSTEM_FOREGROUND) {
    self->FollowNamesOf(window);
    self->changed_(Change::Front);
  } else if (event == EVENT_OBJECT_FOCUS) {
    // Reported for every control, in front or not; the look that follows is cheap.
    self->FollowNamesOf(GetForegroundWindow());
    self->changed_(Change::Focus);
  } else if (object == OBJID_WINDOW && child == CHILDID_SELF && window == GetForegroundWindow()) {
    // Not a control's name, nor a window behind: the title in front may have changed.
    self->changed_(Change::Title);
  }
}

}  // namespace pw::win32
