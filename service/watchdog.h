#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "platform/types.h"
#include "service/guard_host.h"
#include "service/restart_limiter.h"

namespace pw::service {

// Keeps one guard running in every session where a user is logged on. The service feeds it the
// events it waits for (its start, logons, log-offs, a guard's end, the due time) and stops it;
// it never waits itself.
class Watchdog {
 public:
  // How long a guard's claim to have ended for a log-off or an installer may wait for the log-off
  // or the service's stop that confirms it. Any program of the user can send the guard the
  // message that makes it claim so.
  static constexpr Millis kClaimGrace = 8'000;
  // After a claim that did not follow, the session's claims are not believed for this long: a
  // program that forges them again and again keeps the guard down for one grace, not for good.
  static constexpr Millis kDoubt = 600'000;
  // A guard of the service's own that has not answered for this long is ended and replaced.
  static constexpr Millis kSilence = 10'000;
  // The same before its first answer: a start at logon on a busy machine can take a while.
  static constexpr Millis kFirstAnswer = 30'000;
  // The least wait before trying a start that failed again.
  static constexpr Millis kStartRetry = 5'000;

  explicit Watchdog(GuardHost& host) : host_(host) {}

  // The service started: a guard for every session already logged on.
  void Start(Millis now);
  void SessionLoggedOn(SessionId session, Millis now);
  void SessionLoggedOff(SessionId session);
  void GuardEnded(SessionId session, std::uint32_t exitCode, Millis now);
  // The session's guard, started by the service, answered.
  void GuardAnswered(SessionId session, Millis now);
  // Runs the starts and checks that are due.
  void Tick(Millis now);
  // When Tick has something to do next.
  std::optional<Millis> NextDue() const;
  // An administrator stopped the service, or Windows shuts down: nothing starts any more.
  void Stop();

 private:
  enum class Phase { Guarded, StartDue, ClaimPending };
  struct Session {
    Phase phase = Phase::Guarded;
    Millis due = 0;    // of a start or of a claim's grace
    Millis since = 0;  // the guard runs, or was watched, from then
    // The guard is the service's own: it answers, and only its end can be taken at its word.
    bool own = false;
    std::optional<Millis> answered;
    std::optional<Millis> doubted;  // when a claim last failed to follow
    bool hadGuard = false;
    std::uint32_t exitCode = 0;
    RestartLimiter limiter;
  };

  void Guard(SessionId id, Session& s, Millis now);
  void Restart(SessionId id, Session& s, Millis now);
  void Replace(SessionId id, Session& s, Millis now);
  void Launch(SessionId id, Session& s, Millis now);
  static Millis SilentFrom(const Session& s);
  bool Adopt(SessionId id, Session& s, Millis now);

  GuardHost& host_;
  std::map<SessionId, Session> sessions_;
  bool stopped_ = false;
};

}  // namespace pw::service
