#include "service/restart_limiter.h"

#include <algorithm>

namespace pw::service {

Millis RestartLimiter::Book(Millis now) {
  while (!booked_.empty() && booked_.front() <= now - kWindow) booked_.pop_front();
  Millis at = now;
  if (backOff_ != 0 || static_cast<int>(booked_.size()) >= kBurst) {
    backOff_ = backOff_ == 0 ? kFirstBackOff : std::min(backOff_ * 2, kLongestBackOff);
    at = now + backOff_;
  }
  booked_.push_back(at);
  return at;
}

void RestartLimiter::GuardLived(Millis lived) {
  if (lived >= kWindow) backOff_ = 0;
}

}  // namespace pw::service
