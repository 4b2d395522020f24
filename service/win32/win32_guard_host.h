#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/unique.h"
#include "service/guard_host.h"
#include "service/win32/event_log.h"

namespace pw::service {

using win32::UniqueHandle;

// Sessions, guard processes and the event log on Windows. Keeps the process handle of each
// session's guard for the service to wait on.
class Win32GuardHost : public GuardHost {
 public:
  enum class Mode {
    // As the service: every session with a user, guards started with that user's token.
    Service,
    // As a console program: only its own session, guards started as its own user.
    Console,
  };

  Win32GuardHost(Mode mode, std::string guardPath, EventLog& log);

  std::vector<SessionId> LoggedOnSessions() override;
  bool AdoptGuard(SessionId session) override;
  bool StartGuard(SessionId session) override;
  void EndGuard(SessionId session) override;
  void Write(const Report& report) override { log_.Write(report); }

  // The watched guards, in a stable order until the next change.
  struct Watched {
    SessionId session;
    HANDLE process;
    HANDLE answers;  // set by the guard as it answers; none for a guard found running
  };
  std::vector<Watched> Guards() const;
  // The watched guard of the session ended: stops watching it and returns its exit code.
  std::uint32_t TakeEnded(SessionId session);

 private:
  struct Guard {
    UniqueHandle process;
    UniqueHandle answers;
  };

  // Starts the guard as the token's user (the service's own when none) with the answer event as
  // its one inherited handle.
  bool Launch(HANDLE token, HANDLE answers, PROCESS_INFORMATION& started);

  Mode mode_;
  std::string guardPath_;
  std::string folder_;
  EventLog& log_;
  std::map<SessionId, Guard> guards_;
};

}  // namespace pw::service
