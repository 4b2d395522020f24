#pragma once

#include <windows.h>

#include <functional>

#include "platform/foreground_events.h"
#include "platform/win32/unique.h"

namespace pw::win32 {

// Change reports through out-of-context WinEvent hooks: the foreground window changing, the focus
// moving (which comes with it), and the name of a window of the program in front changing. They
// arrive as this thread pumps messages. Windows 10 and 11 deliver them all; Wine 8 delivers only
// the focus to another process, so there the front is reported and a title change is not.
class Win32ForegroundEvents : public ForegroundEvents {
 public:
  Win32ForegroundEvents() = default;
  ~Win32ForegroundEvents() override;
  Win32ForegroundEvents(const Win32ForegroundEvents&) = delete;
  Win32ForegroundEvents& operator=(const Win32ForegroundEvents&) = delete;

  void Watch(std::function<void(Change)> changed) override;

 private:
  static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                               LONG child, DWORD thread, DWORD time);
  void Stop();
  // Title changes are heard from the program in front only, so that the busy name changes of
  // every other program never wake us.
  void FollowNamesOf(HWND front);

  std::function<void(Change)> changed_;
  UniqueWinEventHook foreground_;
  UniqueWinEventHook focus_;
  UniqueWinEventHook names_;
  DWORD namesProcess_ = 0;
};

}  // namespace pw::win32
