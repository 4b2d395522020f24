#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "service/recovery.h"

namespace pw {
namespace {

using service::RecoveryChange;
using service::RecoveryPolicy;

constexpr Millis kHour = 60 * 60 * 1000;

// The service manager's recovery as Windows documents it: each failure raises a count that a
// calm reset period clears; the count picks the action, the last one repeating; a stop counts
// only when it reports an error and the flag says so.
class SimServiceManager {
 public:
  // The service writes its policy over what the manager holds, as at every start.
  void StartService() {
    if (const auto change = RecoveryChange(policy_)) policy_ = *change, ++writes_;
  }
  // The service fails at `at`; returns when the manager starts it again.
  std::optional<Millis> Crash(Millis at) {
    if (lastFailure_ && at - *lastFailure_ >= policy_.resetAfter) failures_ = 0;
    lastFailure_ = at;
    ++failures_;
    if (policy_.restartDelays.empty()) return std::nullopt;
    const auto index = std::min<std::size_t>(failures_, policy_.restartDelays.size()) - 1;
    StartService();
    return at + policy_.restartDelays[index];
  }
  std::optional<Millis> Stop(Millis at, bool withError) {
    if (withError && policy_.onErrorStop) return Crash(at);
    return std::nullopt;
  }
  int writes() const { return writes_; }

 private:
  RecoveryPolicy policy_;
  std::optional<Millis> lastFailure_;
  std::size_t failures_ = 0;
  int writes_ = 0;
};

// Crashes the service right after each restart; returns the waits before the restarts.
std::vector<Millis> CrashInARow(SimServiceManager& scm, Millis& now, int times) {
  std::vector<Millis> waits;
  for (int i = 0; i < times; ++i) {
    const auto back = scm.Crash(now);
    if (!back) break;
    waits.push_back(*back - now);
    now = *back + 100;
  }
  return waits;
}

TEST(RecoveryTest, ACrashingServiceComesBackAfter1Then5ThenEvery30Seconds) {
  SimServiceManager scm;
  Millis now = 0;
  scm.StartService();
  EXPECT_EQ(CrashInARow(scm, now, 5), (std::vector<Millis>{1'000, 5'000, 30'000, 30'000, 30'000}));
  EXPECT_EQ(scm.writes(), 1) << "a policy that holds is not written again at each start";
}

TEST(RecoveryTest, ACalmDayForgetsEarlierFailuresALessCalmOneDoesNot) {
  SimServiceManager scm;
  scm.StartService();
  Millis now = 0;
  CrashInARow(scm, now, 2);
  now += 23 * kHour;
  EXPECT_EQ(CrashInARow(scm, now, 1), std::vector<Millis>{30'000});
  now += 24 * kHour;
  EXPECT_EQ(CrashInARow(scm, now, 2), (std::vector<Millis>{1'000, 5'000}));
}

TEST(RecoveryTest, AStopReportingAnErrorIsAFailureAnOrderlyStopIsNot) {
  SimServiceManager scm;
  scm.StartService();
  EXPECT_EQ(scm.Stop(0, false), std::nullopt);
  EXPECT_EQ(scm.Stop(0, true), Millis{1'000});
}

}  // namespace
}  // namespace pw
