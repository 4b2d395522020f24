#include "service/recovery.h"

namespace pw::service {

RecoveryPolicy WantedRecovery() {
  constexpr Millis kDay = 24 * 60 * 60 * 1000;
  return {{1'000, 5'000, 30'000}, kDay, true};
}

std::optional<RecoveryPolicy> RecoveryChange(const RecoveryPolicy& current) {
  RecoveryPolicy wanted = WantedRecovery();
  if (current == wanted) return std::nullopt;
  return wanted;
}

}  // namespace pw::service
