#include "platform/win32/views/win32_event_loop.h"

#include <algorithm>

#include "platform/forms/toolkit.h"
#include "platform/win32/views/win32_form_view.h"

namespace pw::win32 {

namespace {

constexpr const wchar_t* kPumpClassName = L"PagewardenPump";
constexpr UINT_PTR kModalTimerId = 1;
// Messages dispatched in one pass at most, so a flood of input cannot starve the timers.
constexpr int kMaxMessagesPerPass = 500;
// The message wait cannot fail with the arguments given; should it all the same, a short sleep
// keeps the waiting loops from spinning.
constexpr DWORD kFailedWaitSleepMs = 50;

DWORD Delay(Millis due, Millis now) {
  const Millis wait = std::max<Millis>(due - now, 0);
  return static_cast<DWORD>(std::min<Millis>(wait, 0x7FFFFFFF));
}

}  // namespace

Win32EventLoop::Win32EventLoop(HINSTANCE instance) : instance_(instance) {
  WNDCLASSEXW pump{};
  pump.cbSize = sizeof(pump);
  pump.lpfnWndProc = &Win32EventLoop::Proc;
  pump.hInstance = instance;
  pump.lpszClassName = kPumpClassName;
  if (RegisterClassExW(&pump) == 0) win32::ThrowLastError("Registering the pump class");
  classRegistered_ = true;
  window_.reset(CreateWindowExW(0, kPumpClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                instance, nullptr));
  if (!window_) {
    UnregisterClassW(kPumpClassName, instance_);
    win32::ThrowLastError("Creating the pump window");
  }
  SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  wakeUpsMessage_ = RegisterWindowMessageW(kWakeUpsMessage);
}

Win32EventLoop::~Win32EventLoop() {
  if (window_) {
    KillTimer(window_.get(), kModalTimerId);
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    window_.reset();
  }
  if (classRegistered_) UnregisterClassW(kPumpClassName, instance_);
}

Millis Win32EventLoop::Now() const {
  return static_cast<Millis>(GetTickCount64());
}

void Win32EventLoop::ProcessPending(const NextDue& nextDue) {
  // What is pending is found by the wait itself (it returns at once for input already queued and
  // for a signalled handle), so an idle pass costs the wait alone: under Wine every call here is
  // a round trip to its server.
  for (;;) {
    const std::optional<Millis> due = nextDue();
    const DWORD timeout = due ? Delay(*due, Now()) : INFINITE;
    if (timeout == 0) {
      // Timers are due now; what is pending is still served, so a flood of due timers cannot hold
      // back input or signalled objects.
      waits_.ServeSignalled();
      DispatchPending(due);
      return;
    }
    // Our own wait needs no timer message; a timer left armed would only wake it a second time.
    Disarm();
    const std::vector<HANDLE> handles = waits_.Handles();
    const DWORD woke =
        MsgWaitForMultipleObjectsEx(static_cast<DWORD>(handles.size()), handles.data(), timeout,
                                    QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke == WAIT_FAILED) {
      Sleep(std::min(timeout, kFailedWaitSleepMs));
      return;
    }
    ++wakeUps_;
    if (woke == WAIT_TIMEOUT) return;
    // Ended by one of the handles, the wait has taken that handle's signal. It is served before
    // any message, whose handler might close that handle and let its number be reused.
    const HANDLE woken =
        woke - WAIT_OBJECT_0 < handles.size() ? handles[woke - WAIT_OBJECT_0] : nullptr;
    const bool served = waits_.ServeSignalled(woken);
    const bool handled = DispatchPending(nextDue());
    // Woken by nothing but the modal-loop timer (due about when our own wait ends anyway), the
    // wait goes on: a wake that handles nothing must not make a pass of its caller's loop.
    if (served || handled) return;
  }
}

void Win32EventLoop::PumpOnce(std::uint64_t wakeBy) {
  if (toolkit_ != nullptr) toolkit_->DoEvents(static_cast<Millis>(wakeBy));
}

std::uint64_t Win32EventLoop::KeyReleases(unsigned virtualKey) const {
  return virtualKey < keyReleases_.size() ? keyReleases_[virtualKey] : 0;
}

void Win32EventLoop::BeforeHandler() {
  if (toolkit_ != nullptr) Arm(toolkit_->NextDue());
}

bool Win32EventLoop::DispatchPending(std::optional<Millis> due) {
  // Any message handled below (one sent by another program included) may enter a system loop.
  Arm(due);
  // Messages sent from other threads are handled inside PeekMessage and count as handled.
  bool any = HIWORD(GetQueueStatus(QS_SENDMESSAGE)) != 0;
  MSG message{};
  for (int n = 0; n < kMaxMessagesPerPass && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
       ++n) {
    // Our own pump fires the timers after this; the modal-loop timer is for other loops.
    if (message.hwnd == window_.get() && message.message == WM_TIMER) continue;
    // Nothing here ends the program by quitting the loop; the program ends with its monitor.
    if (message.message == WM_QUIT) continue;
    any = true;
    if (!Win32FormView::PreTranslate(message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (message.message == WM_KEYUP && message.wParam < keyReleases_.size()) {
      ++keyReleases_[message.wParam];
    }
  }
  return any;
}

void Win32EventLoop::Arm(std::optional<Millis> due) {
  if (due == armedFor_) return;
  if (!due) {
    KillTimer(window_.get(), kModalTimerId);
    armedFor_.reset();
    return;
  }
  const DWORD delay = std::max<DWORD>(Delay(*due, Now()), USER_TIMER_MINIMUM);
  // Re-arming the same id replaces the earlier time. Unset, it is tried again at the next
  // pass; until then only timers inside a system modal loop wait.
  if (SetTimer(window_.get(), kModalTimerId, delay, nullptr) == 0) {
    armedFor_.reset();
    return;
  }
  armedFor_ = due;
}

void Win32EventLoop::Disarm() {
  if (!armedFor_) return;
  KillTimer(window_.get(), kModalTimerId);
  armedFor_.reset();
}

void Win32EventLoop::OnModalTimer() {
  ++wakeUps_;
  if (toolkit_ == nullptr) return;
  forms::Toolkit& toolkit = *toolkit_;
  // A timer whose handler is running is not due, so this never re-enters it.
  toolkit.FireDueTimers();
  Arm(toolkit.NextDue());
}

LRESULT CALLBACK Win32EventLoop::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* loop = reinterpret_cast<Win32EventLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_TIMER && wParam == kModalTimerId) {
    if (loop != nullptr) loop->OnModalTimer();
    return 0;
  }
  if (loop != nullptr && message == loop->wakeUpsMessage_ && message != 0) {
    return static_cast<LRESULT>(loop->wakeUps_);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace pw::win32
