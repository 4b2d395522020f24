#include "platform/forms/toolkit.h"

#include <exception>

#include "platform/forms/timer.h"

namespace pw::forms {

Toolkit::Toolkit(EventLoop& loop, ViewFactory& views) : loop_(loop), views_(views) {}

void Toolkit::DoEvents(std::optional<Millis> wakeBy) {
  ++passes_;
  loop_.ProcessPending([this, wakeBy] {
    const std::optional<Millis> due = NextDue();
    return wakeBy && (!due || *wakeBy < *due) ? wakeBy : due;
  });
  FireDueTimers();
}

void Toolkit::Raise(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& failure) {
    // A failing handler ends; the program and its other handlers go on.
    if (onFailure) onFailure(std::string("An event handler failed: ") + failure.what());
  }
}

void Toolkit::AddTimer(Timer* timer) {
  timers_.push_back(timer);
}

void Toolkit::RemoveTimer(Timer* timer) {
  std::erase(timers_, timer);
}

std::optional<Millis> Toolkit::NextDue() const {
  std::optional<Millis> next;
  for (const Timer* timer : timers_) {
    const auto due = timer->Due();
    if (due && (!next || *due < *next)) next = due;
  }
  return next;
}

void Toolkit::FireDueTimers() {
  // Earliest first, ties in the order the timers were made; a timer due within its slack comes
  // along. A fired timer is next due a period later, so each fires once here; handlers may pump,
  // fire others nested and switch timers on or off. Nothing is collected, so a pass allocates
  // nothing however often it runs.
  const Millis now = Now();
  for (;;) {
    Timer* next = nullptr;
    Millis nextAt = 0;
    for (Timer* timer : timers_) {
      const auto at = timer->Due();
      if (at && timer->DueBy(now) && (next == nullptr || *at < nextAt)) {
        next = timer;
        nextAt = *at;
      }
    }
    if (next == nullptr) return;
    next->Fire();
  }
}

}  // namespace pw::forms
