#pragma once

#include <vector>

#include "service/report.h"

namespace pw::service {

// What the watchdog asks of the system: the sessions, the process table and the event log. The
// host watches each guard it adopts or starts and reports its end to Watchdog::GuardEnded.
class GuardHost {
 public:
  virtual ~GuardHost() = default;

  // Sessions where a user is logged on.
  virtual std::vector<SessionId> LoggedOnSessions() = 0;
  // Looks for a running guard in the session (the program file beside the service) and, when
  // there is one, watches it instead of the one it watched before. Such a guard never answers.
  virtual bool AdoptGuard(SessionId session) = 0;
  // Starts a guard in the session as its user and watches it; false when it did not start. The
  // guard knows itself as the session's own and answers every second or so; the host reports
  // each answer to Watchdog::GuardAnswered.
  virtual bool StartGuard(SessionId session) = 0;
  // Ends the watched guard of the session and stops watching it; its end is not reported.
  virtual void EndGuard(SessionId session) = 0;
  virtual void Write(const Report& report) = 0;
};

}  // namespace pw::service
