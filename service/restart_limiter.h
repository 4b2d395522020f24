#pragma once

#include <deque>

#include "platform/types.h"

namespace pw::service {

// Keeps a guard that ends again and again (killed in a loop, or crashing at start) from being
// restarted without end: a burst of restarts goes through at once, then each further one waits,
// twice as long as the last, until a guard has lived calmly for a while.
class RestartLimiter {
 public:
  static constexpr int kBurst = 5;
  static constexpr Millis kWindow = 60'000;
  static constexpr Millis kFirstBackOff = 30'000;
  static constexpr Millis kLongestBackOff = 300'000;

  // Books the next restart and returns when it may happen: `now` or later.
  Millis Book(Millis now);
  // A guard that ran for `lived` ended; a calm run ends the back-off.
  void GuardLived(Millis lived);

 private:
  std::deque<Millis> booked_;
  Millis backOff_ = 0;
};

}  // namespace pw::service
