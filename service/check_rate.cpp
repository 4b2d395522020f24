#include "service/check_rate.h"

namespace pw::service {

std::optional<Millis> CheckRate::Admit(std::uint32_t session, Millis now) {
  std::deque<Millis>& times = checks_[session];
  while (!times.empty() && now - times.front() >= kMinute) times.pop_front();
  if (static_cast<int>(times.size()) >= perMinute_) return times.front() + kMinute - now;
  times.push_back(now);
  return std::nullopt;
}

}  // namespace pw::service
