#include "tests/service/sim_sessions.h"

#include "base/exit_codes.h"
#include "service/same_path.h"

namespace pw::test {

void SimSessions::LogOn(SessionId session) {
  loggedOn.insert(session);
  dog.SessionLoggedOn(session, now);
}

void SimSessions::LogOff(SessionId session) {
  for (int pid : Guards(session)) End(pid, static_cast<std::uint32_t>(ExitCode::LoggedOff));
  loggedOn.erase(session);
  dog.SessionLoggedOff(session);
}

int SimSessions::Spawn(SessionId session, const std::string& image) {
  const int pid = 100 + static_cast<int>(processes.size()) * 4;
  processes.push_back({pid, session, image, true});
  return pid;
}

void SimSessions::End(int pid, std::uint32_t exitCode) {
  for (Proc& p : processes) {
    if (p.pid != pid || !p.alive) continue;
    p.alive = false;
    const SessionId session = p.session;
    auto it = watched.find(session);
    if (it != watched.end() && it->second == pid) {
      watched.erase(it);
      // The watchdog may start a guard at once, which grows the process table.
      dog.GuardEnded(session, exitCode, now);
    }
    return;
  }
}

void SimSessions::Advance(Millis duration) {
  constexpr Millis kAnswerPeriod = 1000;
  const Millis until = now + duration;
  for (;;) {
    const Millis step = std::min(until, now + kAnswerPeriod);
    const auto due = dog.NextDue();
    now = due && *due < step ? std::max(now, *due) : step;
    for (const Proc& p : processes) {
      if (p.alive && p.own && p.answering) dog.GuardAnswered(p.session, now);
    }
    dog.Tick(now);
    if (now >= until) break;
  }
}

void SimSessions::Freeze(int pid) {
  for (Proc& p : processes) {
    if (p.pid == pid) p.answering = false;
  }
}

std::vector<int> SimSessions::Guards(SessionId session) const {
  std::vector<int> pids;
  for (const Proc& p : processes) {
    if (p.alive && p.session == session && service::SamePath(p.image, kGuard)) {
      pids.push_back(p.pid);
    }
  }
  return pids;
}

int SimSessions::Guard(SessionId session) const {
  const std::vector<int> pids = Guards(session);
  return pids.size() == 1 ? pids.front() : 0;
}

std::vector<service::Report::Kind> SimSessions::ReportKinds() const {
  std::vector<service::Report::Kind> kinds;
  for (const auto& r : reports) kinds.push_back(r.kind);
  return kinds;
}

std::vector<SimSessions::SessionId> SimSessions::LoggedOnSessions() {
  return {loggedOn.begin(), loggedOn.end()};
}

bool SimSessions::AdoptGuard(SessionId session) {
  const std::vector<int> pids = Guards(session);
  if (pids.empty()) return false;
  watched[session] = pids.front();
  return true;
}

bool SimSessions::StartGuard(SessionId session) {
  if (failStarts || !loggedOn.contains(session)) return false;
  ++starts;
  const int pid = Spawn(session);
  processes.back().own = true;
  watched[session] = pid;
  return true;
}

void SimSessions::EndGuard(SessionId session) {
  auto it = watched.find(session);
  if (it == watched.end()) return;
  ++ended;
  for (Proc& p : processes) {
    if (p.pid == it->second) p.alive = false;
  }
  watched.erase(it);
}

}  // namespace pw::test
