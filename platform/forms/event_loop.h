#pragma once

#include <functional>
#include <optional>

#include "platform/types.h"

namespace pw::forms {

// The platform's source of input and time. The toolkit's pump asks it to deliver pending input;
// when none is pending it blocks until input arrives or the next timer is due, so no wait spins.
class EventLoop {
 public:
  using NextDue = std::function<std::optional<Millis>()>;

  virtual ~EventLoop() = default;

  virtual Millis Now() const = 0;
  // Dispatches every pending input event. If none was pending, blocks until one arrives or the
  // time given by nextDue() is reached (nullopt: no timer is waiting).
  virtual void ProcessPending(const NextDue& nextDue) = 0;
  // A handler is about to run that may enter a loop of the system's own (a popup menu, a window
  // being moved), where ProcessPending is not called: the platform makes ready to fire the
  // timers from there.
  virtual void BeforeHandler() {}
};

}  // namespace pw::forms
