#pragma once

#include <cstdint>
#include <string>

#include "history/entry.h"
#include "platform/types.h"

namespace pw::service {

using SessionId = std::uint32_t;

// Something the service writes to the Windows event log.
struct Report {
  enum class Kind {
    Started,          // a user logged on, or the service started in a session without a guard
    Restarted,        // a guard ended other than by log-off, closing for an installer or handover
    RestartDelayed,   // too many restarts: the next one waits
    StartFailed,      // the guard could not be started; tried again later
    EndNotConfirmed,  // a guard claimed a log-off or an installer's close that did not follow
    Silent,           // a guard stopped answering (suspended, hung): ended and started anew
    RecoveryNotSet,   // the service's own restart on failure could not be set (Windows error)
  };
  Kind kind = Kind::Started;
  SessionId session = 0;
  std::uint32_t exitCode = 0;  // of the guard that ended; the error for RecoveryNotSet
  Millis delay = 0;            // until the next start, for RestartDelayed and StartFailed

  bool Warning() const { return kind != Kind::Started; }
};

// The event log text.
std::string Describe(const Report& report);
// The report as an entry of the record: its kind, session and text.
history::Entry ToEntry(const Report& report);

}  // namespace pw::service
