#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/forms/event_loop.h"
#include "platform/win32/backend/win32_input.h"
#include "platform/win32/backend/win32_wait_list.h"
#include "platform/win32/views/win32_ui_handles.h"

namespace pw::forms {
class Toolkit;
}

namespace pw::win32 {

// The thread's message queue as the forms' event source. Pending messages are dispatched with
// the forms' keyboard handling; with nothing pending it sleeps in the system's wait until input
// arrives or the next timer is due.
//
// While a system modal loop runs (a popup menu, a window being moved) this pump is not called,
// so a thread timer on a message-only window fires the toolkit's due timers from there. Such a
// loop starts only inside a handler: the timer is armed before messages are dispatched and before
// a timer's handler that may enter one, and disarmed before the wait, so an idle pass (the wait,
// then a quiet look) costs no call to set a timer and no second wake-up for it.
class Win32EventLoop : public forms::EventLoop, public MessagePump {
 public:
  explicit Win32EventLoop(HINSTANCE instance);
  ~Win32EventLoop() override;
  Win32EventLoop(const Win32EventLoop&) = delete;
  Win32EventLoop& operator=(const Win32EventLoop&) = delete;

  // The toolkit whose timers the modal-loop timer fires; set once both exist.
  void Attach(forms::Toolkit& toolkit) { toolkit_ = &toolkit; }

  Millis Now() const override;
  void ProcessPending(const NextDue& nextDue) override;
  void BeforeHandler() override;

  // Objects the message wait also waits for (registry change notices).
  Win32WaitList& Waits() { return waits_; }

  void PumpOnce(std::uint64_t wakeBy) override;
  std::uint64_t KeyReleases(unsigned virtualKey) const override;

  // The pump window answers this registered message with the number of times the thread woke
  // from its wait, or a system loop's wait for a timer, since it started: the figure the
  // measure mode reports for an idle guard.
  static constexpr const wchar_t* kWakeUpsMessage = L"PagewardenWakeUps";

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Returns whether anything was handled.
  bool DispatchPending(std::optional<Millis> due);
  void Arm(std::optional<Millis> due);
  void Disarm();
  void OnModalTimer();

  HINSTANCE instance_;
  forms::Toolkit* toolkit_ = nullptr;
  bool classRegistered_ = false;
  win32::UniqueWindow window_;
  Win32WaitList waits_;
  // The due time the modal-loop timer is set for; none when it is not set.
  std::optional<Millis> armedFor_;
  UINT wakeUpsMessage_ = 0;
  std::uint64_t wakeUps_ = 0;
  std::array<std::uint64_t, 256> keyReleases_{};
};

}  // namespace pw::win32
