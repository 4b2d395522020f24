#include "service/watchdog.h"

#include <algorithm>
#include <vector>

#include "service/exit_kind.h"

namespace pw::service {

void Watchdog::Start(Millis now) {
  for (SessionId id : host_.LoggedOnSessions()) SessionLoggedOn(id, now);
}

void Watchdog::SessionLoggedOn(SessionId id, Millis now) {
  if (stopped_) return;
  auto it = sessions_.find(id);
  if (it != sessions_.end() && it->second.phase == Phase::Guarded) return;
  // A logon over a session whose end was claimed: that session is gone, this one starts afresh.
  if (it != sessions_.end()) sessions_.erase(it);
  Guard(id, sessions_[id], now);
}

void Watchdog::SessionLoggedOff(SessionId id) {
  sessions_.erase(id);
}

void Watchdog::GuardEnded(SessionId id, std::uint32_t exitCode, Millis now) {
  auto it = sessions_.find(id);
  if (stopped_ || it == sessions_.end() || it->second.phase != Phase::Guarded) return;
  Session& s = it->second;
  s.limiter.GuardLived(now - s.since);
  s.hadGuard = true;
  s.exitCode = exitCode;
  switch (ClassifyExit(exitCode)) {
    case ExitKind::LoggedOff:
    case ExitKind::InstallerClose:
      if (s.doubted && now - *s.doubted < kDoubt) {
        host_.Write({Report::Kind::EndNotConfirmed, id, exitCode, 0});
        Replace(id, s, now);
        break;
      }
      s.phase = Phase::ClaimPending;
      s.due = now + kClaimGrace;
      break;
    case ExitKind::HandedOver:
      // The service's own guard hands over to the service, never to a copy the user could end
      // or freeze: the next one starts at once.
      if (s.own) {
        Replace(id, s, now);
        break;
      }
      // Another guard leaves the fresh copy to adopt; every restart looks for one first anyway.
      Restart(id, s, now);
      break;
    case ExitKind::Other:
      Restart(id, s, now);
      break;
  }
}

void Watchdog::GuardAnswered(SessionId id, Millis now) {
  auto it = sessions_.find(id);
  if (stopped_ || it == sessions_.end()) return;
  Session& s = it->second;
  if (s.phase == Phase::Guarded && s.own) s.answered = now;
}

void Watchdog::Tick(Millis now) {
  if (stopped_) return;
  std::vector<SessionId> due;
  std::vector<SessionId> silent;
  for (const auto& [id, s] : sessions_) {
    if (s.phase != Phase::Guarded && s.due <= now) due.push_back(id);
    if (s.phase == Phase::Guarded && s.own && SilentFrom(s) <= now) silent.push_back(id);
  }
  // Suspended, hung or held in a debugger: nobody's crash, so the limiter has no say.
  for (SessionId id : silent) {
    Session& s = sessions_.at(id);
    host_.EndGuard(id);
    host_.Write({Report::Kind::Silent, id, 0, 0});
    s.hadGuard = true;
    s.exitCode = 0;
    Launch(id, s, now);
  }
  for (SessionId id : due) {
    Session& s = sessions_.at(id);
    if (s.phase == Phase::ClaimPending) {
      // A message any program may send ended the guard: back at once, whatever the limiter says.
      host_.Write({Report::Kind::EndNotConfirmed, id, s.exitCode, 0});
      s.doubted = now;
      Replace(id, s, now);
    } else if (!Adopt(id, s, now)) {
      Launch(id, s, now);
    }
  }
}

std::optional<Millis> Watchdog::NextDue() const {
  std::optional<Millis> next;
  for (const auto& [id, s] : sessions_) {
    const Millis at = s.phase != Phase::Guarded ? s.due : s.own ? SilentFrom(s) : -1;
    if (at >= 0) next = std::min(next.value_or(at), at);
  }
  return next;
}

void Watchdog::Stop() {
  stopped_ = true;
  sessions_.clear();
}

void Watchdog::Guard(SessionId id, Session& s, Millis now) {
  if (!Adopt(id, s, now)) Launch(id, s, now);
}

void Watchdog::Restart(SessionId id, Session& s, Millis now) {
  if (Adopt(id, s, now)) return;
  const Millis at = s.limiter.Book(now);
  if (at <= now) {
    Launch(id, s, now);
    return;
  }
  s.phase = Phase::StartDue;
  s.due = at;
  host_.Write({Report::Kind::RestartDelayed, id, s.exitCode, at - now});
}

// After the end of a guard that may not have been a crash: the service's own is followed by
// another of its own, never by a copy the user started (which the user can end or freeze).
void Watchdog::Replace(SessionId id, Session& s, Millis now) {
  if (!s.own && Adopt(id, s, now)) return;
  Launch(id, s, now);
}

void Watchdog::Launch(SessionId id, Session& s, Millis now) {
  if (host_.StartGuard(id)) {
    s.phase = Phase::Guarded;
    s.since = now;
    s.own = true;
    s.answered.reset();
    host_.Write({s.hadGuard ? Report::Kind::Restarted : Report::Kind::Started, id, s.exitCode, 0});
    return;
  }
  s.phase = Phase::StartDue;
  s.due = std::max(s.limiter.Book(now), now + kStartRetry);
  host_.Write({Report::Kind::StartFailed, id, s.exitCode, s.due - now});
}

bool Watchdog::Adopt(SessionId id, Session& s, Millis now) {
  if (!host_.AdoptGuard(id)) return false;
  s.phase = Phase::Guarded;
  s.since = now;
  s.own = false;
  s.answered.reset();
  return true;
}

Millis Watchdog::SilentFrom(const Session& s) {
  return s.answered ? *s.answered + kSilence : s.since + kFirstAnswer;
}

}  // namespace pw::service
