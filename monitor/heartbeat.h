#pragma once

#include "platform/forms/timer.h"

namespace pw {

class App;

// Answers the watchdog service that started this guard, about once a second, from the
// user-interface thread: a guard suspended or hung there falls silent and is replaced. A timer of
// its own, so it goes on ticking while another timer's handler waits on a prompt.
class Heartbeat {
 public:
  explicit Heartbeat(App& app);

  // The resident monitor starts answering, when the service started it.
  void Start();

 private:
  App& app_;
  forms::Timer timAnswer_;
};

}  // namespace pw
