#include "monitor/heartbeat.h"

#include "app/app.h"
#include "base/session_guard.h"

namespace pw {

Heartbeat::Heartbeat(App& app)
    : app_(app), timAnswer_(app.main, "timAnswer", kAnswerPeriod, false) {
  timAnswer_.onTimer = [this] { app_.platform.process.Answer(); };
  // Setting an event handles no message.
  timAnswer_.quiet = true;
}

void Heartbeat::Start() {
  if (!app_.platform.process.SessionGuard()) return;
  app_.platform.process.Answer();
  timAnswer_.SetEnabled(true);
}

}  // namespace pw
