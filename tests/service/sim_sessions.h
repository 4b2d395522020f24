#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "service/guard_host.h"
#include "service/watchdog.h"

namespace pw::test {

// A machine as the watchdog service sees it: sessions with users, a process table and a clock.
// The watchdog runs on it as the service would, woken by the events it waits for.
class SimSessions : public service::GuardHost {
 public:
  static constexpr const char* kGuard = "C:\\Program Files\\Pagewarden\\pgwatch.exe";
  using SessionId = service::SessionId;

  struct Proc {
    int pid = 0;
    SessionId session = 0;
    std::string image;
    bool alive = true;
    bool own = false;       // started by the service, so it answers it
    bool answering = true;  // false once suspended or hung
  };

  SimSessions() = default;
  SimSessions(const SimSessions&) = delete;
  SimSessions& operator=(const SimSessions&) = delete;

  // As the system: a user logs on or off (the guard ends for the log-off first).
  void LogOn(SessionId session);
  void LogOff(SessionId session);
  // A process someone else started (the user, or a guard handing over to a fresh copy).
  int Spawn(SessionId session, const std::string& image = kGuard);
  // A process ends with the code; the service hears of it when it watches that process.
  void End(int pid, std::uint32_t exitCode);
  // Lets time pass; the service's own guards answer every second unless they stopped, and
  // whatever the watchdog has due meanwhile runs at its time.
  void Advance(Millis duration);
  // The guard stops answering, as a suspended or hung process does, but runs on.
  void Freeze(int pid);

  // The running guards of a session.
  std::vector<int> Guards(SessionId session) const;
  int Guard(SessionId session) const;
  std::vector<service::Report::Kind> ReportKinds() const;

  // GuardHost
  std::vector<SessionId> LoggedOnSessions() override;
  bool AdoptGuard(SessionId session) override;
  bool StartGuard(SessionId session) override;
  void EndGuard(SessionId session) override;
  void Write(const service::Report& report) override { reports.push_back(report); }

  Millis now = 1'000'000;
  std::set<SessionId> loggedOn;
  std::vector<Proc> processes;
  std::map<SessionId, int> watched;
  std::vector<service::Report> reports;
  int starts = 0;
  int ended = 0;  // guards the service ended
  bool failStarts = false;
  service::Watchdog dog{*this};
};

}  // namespace pw::test
