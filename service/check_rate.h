#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>

#include "platform/types.h"

namespace pw::service {

// Keeps a guessing user slow: at most kPerMinute password checks a minute reach the comparison
// in each session, wherever they come from. Also bounds other requests a user could flood.
class CheckRate {
 public:
  static constexpr int kPerMinute = 30;
  static constexpr Millis kMinute = 60'000;

  explicit CheckRate(int perMinute = kPerMinute) : perMinute_(perMinute) {}

  // Nothing when the check may go ahead (and is counted); else how long until one may.
  std::optional<Millis> Admit(std::uint32_t session, Millis now);

 private:
  int perMinute_;
  std::map<std::uint32_t, std::deque<Millis>> checks_;
};

}  // namespace pw::service
