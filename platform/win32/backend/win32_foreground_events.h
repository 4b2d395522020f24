#pragma once

#include <windows.h>

#include <functional>

#include "platform/foreground_events.h"

namespace pw::win32 {

// Change reports through out-of-context WinEvent hooks: the foreground window changing, and the
// name of a window of the program in front changing. They arrive as this thread pumps messages.
// Windows 10 and 11 deliver them; Wine 8 delivers neither to another process (of the out-of-context
// events only object creation and focus reach one), and then nothing is heard at all.
class Win32ForegroundEvents : public ForegroundEvents {
 public:
  Win32ForegroundEvents() = default;
  ~Win32ForegroundEvents() override;
  Win32ForegroundEvents(const Win32ForegroundEvents&) = delete;
  Win32ForegroundEvents& operator=(const Win32ForegroundEvents&) = delete;

  void Watch(std::function<void()> changed) override;

 private:
  static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                               LONG child, DWORD thread, DWORD time);
  void Stop();
  // Title changes are heard from the program in front only, so that the busy name changes of
  // every other program never wake us.
  void FollowNamesOf(HWND front);

  std::function<void()> changed_;
  HWINEVENTHOOK foreground_ = nullptr;
  HWINEVENTHOOK names_ = nullptr;
  DWORD namesProcess_ = 0;
};

}  // namespace pw::win32
