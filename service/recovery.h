#pragma once

#include <optional>
#include <vector>

#include "platform/types.h"

namespace pw::service {

// What the service manager does when the watchdog service itself fails (it crashes, or stops
// reporting an error): restart it after each delay in turn, the last delay for every further
// failure, and count the failures anew after a calm period.
struct RecoveryPolicy {
  std::vector<Millis> restartDelays;
  Millis resetAfter = 0;
  // A stop that reports an error counts as a failure, not only a crash.
  bool onErrorStop = false;

  bool operator==(const RecoveryPolicy&) const = default;
};

// Restart after 1 s, again after 5 s, then every 30 s; a calm day resets the count.
RecoveryPolicy WantedRecovery();

// The policy to write over `current` (as read from the service manager), or nothing when it
// already holds: the service checks at every start and writes only a difference.
std::optional<RecoveryPolicy> RecoveryChange(const RecoveryPolicy& current);

}  // namespace pw::service
