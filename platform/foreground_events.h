#pragma once

#include <functional>

namespace pw {

// Word from the system that the foreground window, or the title of the window in front, may have
// changed, where the system gives it. The monitor also looks for itself, so a system that says
// nothing costs speed only.
class ForegroundEvents {
 public:
  // What a report says: the system's own word that the window in front changed, or that the
  // focus moved (which may come with a new window in front), or that the title in front may have
  // changed.
  enum class Change { Front, Focus, Title };

  virtual ~ForegroundEvents() = default;

  // From now on calls `changed` on this thread, from inside the event pump, after such a change
  // to another program's window. An empty function stops the calls.
  virtual void Watch(std::function<void(Change)> changed) = 0;
};

}  // namespace pw
