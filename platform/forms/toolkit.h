#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/forms/event_loop.h"
#include "platform/forms/view.h"

namespace pw::forms {

class Timer;

// The per-process side of the forms model: the pump, the timers and the platform's views.
class Toolkit {
 public:
  Toolkit(EventLoop& loop, ViewFactory& views);

  // Processes every pending event and every due timer. When nothing is pending it sleeps until
  // the next input or timer, or until wakeBy when that comes first, so a waiting loop that calls
  // it never spins.
  void DoEvents(std::optional<Millis> wakeBy = std::nullopt);
  Millis Now() const { return loop_.Now(); }
  // How many times DoEvents ran; tests count passes to show that waits do not spin.
  long Passes() const { return passes_; }
  ScreenInfo Screen() const { return views_.Screen(); }
  ViewFactory& Views() { return views_; }

  // Runs an event handler on behalf of the user or a timer. A failure inside a handler ends that
  // handler only; the program carries on.
  void Raise(const std::function<void()>& handler);
  // Told what failed inside a handler; the platform writes it where an administrator looks.
  std::function<void(const std::string&)> onFailure;
  // Before a timer's handler that may enter a loop of the system's own.
  void BeforeHandler() { loop_.BeforeHandler(); }

  void AddTimer(Timer* timer);
  void RemoveTimer(Timer* timer);
  std::optional<Millis> NextDue() const;
  // Fires the timers that are due; a backend calls it from inside a system modal loop (a popup
  // menu, a window being moved) so that timers keep ticking there.
  void FireDueTimers();

 private:
  EventLoop& loop_;
  ViewFactory& views_;
  std::vector<Timer*> timers_;
  long passes_ = 0;
};

}  // namespace pw::forms
