#include <gtest/gtest.h>

#include "base/exit_codes.h"
#include "tests/service/sim_sessions.h"

namespace pw {
namespace {

using service::Report;
using test::SimSessions;
using Kind = service::Report::Kind;

constexpr std::uint32_t kKilled = 1;  // what Task Manager's End Process leaves
constexpr auto Code(ExitCode code) {
  return static_cast<std::uint32_t>(code);
}

class WatchdogTest : public ::testing::Test {
 protected:
  // Kills the session's guard and returns whether a new one runs right away.
  bool KillAndSeeItBack(SimSessions::SessionId session) {
    const int old = m.Guard(session);
    m.End(old, kKilled);
    return m.Guard(session) != 0 && m.Guard(session) != old;
  }

  SimSessions m;
};

TEST_F(WatchdogTest, StartGuardsEverySessionWithAUserOnceAndAdoptsRunningGuards) {
  m.loggedOn = {1, 2, 3};
  const int running = m.Spawn(2);
  m.Spawn(3, "C:\\Users\\kid\\pgwatch.exe");  // a copy elsewhere is no guard
  m.dog.Start(m.now);
  EXPECT_NE(m.Guard(1), 0);
  EXPECT_EQ(m.Guards(2), std::vector<int>{running});
  EXPECT_NE(m.Guard(3), 0);
  EXPECT_EQ(m.starts, 2);
  EXPECT_EQ(m.ReportKinds(), (std::vector<Kind>{Kind::Started, Kind::Started}));

  m.LogOn(1);  // a repeated notification
  m.LogOn(4);
  EXPECT_EQ(m.starts, 3);
  EXPECT_NE(m.Guard(4), 0);
  m.End(running, kKilled);  // the adopted guard is watched like a started one
  EXPECT_NE(m.Guard(2), 0);
}

TEST_F(WatchdogTest, AKilledOrCrashedGuardComesBackAtOnceAndIsReported) {
  m.LogOn(1);
  for (std::uint32_t code : {kKilled, 0u, 0xC0000005u, 0xFFFFFFFFu}) {
    const int old = m.Guard(1);
    m.End(old, code);
    EXPECT_NE(m.Guard(1), 0) << code;
    EXPECT_NE(m.Guard(1), old);
    EXPECT_EQ(m.reports.back().kind, Kind::Restarted);
    EXPECT_EQ(m.reports.back().exitCode, code);
    m.Advance(61'000);  // calm runs: no back-off
  }
}

// A guard the service found running (say, from before a service restart) hands over as always.
TEST_F(WatchdogTest, AHandoverIsAdoptedUnlessNoFreshCopyRuns) {
  m.Spawn(1);
  m.LogOn(1);
  const int fresh = m.Spawn(1);
  m.End(m.Guards(1).front(), Code(ExitCode::HandedOver));
  EXPECT_EQ(m.Guards(1), std::vector<int>{fresh});
  EXPECT_EQ(m.starts, 0);
  EXPECT_TRUE(m.reports.empty());
  m.End(fresh, Code(ExitCode::HandedOver));  // the fresh copy failed to start
  EXPECT_NE(m.Guard(1), 0);
  EXPECT_EQ(m.starts, 1);
  EXPECT_EQ(m.reports.back().kind, Kind::Restarted);
}

// Suspended, hung or held in a debugger, a guard never ends: its silence does.
TEST_F(WatchdogTest, ASilentGuardIsEndedAndReplacedAfterTenSecondsAsOftenAsItHappens) {
  m.LogOn(1);
  m.Advance(60'000);  // a guard that answers is left alone
  ASSERT_EQ(m.starts, 1);
  for (int i = 0; i < 8; ++i) {
    const int frozen = m.Guard(1);
    m.Advance(500);
    m.Freeze(frozen);
    m.Advance(service::Watchdog::kSilence - 1);
    EXPECT_EQ(m.Guard(1), frozen) << i;
    m.Advance(1000);
    EXPECT_NE(m.Guard(1), 0) << i;
    EXPECT_NE(m.Guard(1), frozen) << i;
    EXPECT_EQ(m.ended, i + 1);
    EXPECT_EQ(m.reports[m.reports.size() - 2].kind, Kind::Silent);
    EXPECT_EQ(m.reports.back().kind, Kind::Restarted);
  }
  // One that never answered at all gets longer, for a slow start.
  m.Freeze(m.Guard(1));
  m.End(m.Guard(1), kKilled);
  const int mute = m.Guard(1);
  m.Freeze(mute);
  m.Advance(service::Watchdog::kFirstAnswer - 1);
  EXPECT_EQ(m.Guard(1), mute);
  m.Advance(1);
  EXPECT_NE(m.Guard(1), mute);
}

// Any program of the user may send the guard the message that makes it claim a log-off or an
// installer's close; the claim holds only when the log-off or the stop follows.
TEST_F(WatchdogTest, ForgedEndsAreUndoneAfterOneGraceThenAtOnceAndNeverHeldBack) {
  using service::Watchdog;
  m.LogOn(1);
  m.End(m.Guard(1), Code(ExitCode::LoggedOff));
  m.Advance(Watchdog::kClaimGrace - 1);
  EXPECT_EQ(m.Guard(1), 0);
  m.Advance(1);
  EXPECT_NE(m.Guard(1), 0);
  // Forged again and again: no more waiting for a log-off, and the limiter has no say.
  for (int i = 0; i < 8; ++i) {
    const ExitCode claim = i % 2 == 0 ? ExitCode::LoggedOff : ExitCode::InstallerClose;
    m.End(m.Guard(1), Code(claim));
    EXPECT_NE(m.Guard(1), 0) << i;
    // An orderly close of the service's own guard: the service starts the next one.
    m.End(m.Guard(1), Code(ExitCode::HandedOver));
    EXPECT_NE(m.Guard(1), 0) << i;
    m.Advance(1000);
  }
  EXPECT_EQ(m.starts, 18);

  m.Advance(Watchdog::kDoubt);
  m.End(m.Guard(1), Code(ExitCode::LoggedOff));  // the real log-off follows late
  m.Advance(Watchdog::kClaimGrace - 1);
  m.LogOff(1);
  m.Advance(600'000);
  EXPECT_EQ(m.starts, 18);
}

// A copy of the program the user started (and may end or freeze) never stands in for the
// service's own guard once that one ends.
TEST_F(WatchdogTest, AUserCopyNeverTakesOverFromTheServicesOwnGuard) {
  m.LogOn(1);
  const int decoy = m.Spawn(1);
  m.Freeze(decoy);
  for (ExitCode end : {ExitCode::HandedOver, ExitCode::LoggedOff, ExitCode::InstallerClose}) {
    const int own = m.watched.at(1);
    m.End(own, Code(end));
    m.Advance(service::Watchdog::kDoubt);
    EXPECT_NE(m.watched.at(1), decoy);
    EXPECT_NE(m.watched.at(1), own);
  }
  EXPECT_EQ(m.starts, 4);
}

TEST_F(WatchdogTest, ALogOffStartsNothingInEitherOrder) {
  m.LogOn(1);
  m.LogOn(2);
  m.LogOff(1);  // the guard ends first
  m.dog.SessionLoggedOff(2);
  m.End(m.Guard(2), Code(ExitCode::LoggedOff));
  m.Advance(600'000);
  EXPECT_EQ(m.starts, 2);
  EXPECT_FALSE(m.dog.NextDue());
  m.LogOn(1);
  EXPECT_NE(m.Guard(1), 0);
}

TEST_F(WatchdogTest, AClaimedEndThatDoesNotFollowIsUndoneAfterTheGrace) {
  m.LogOn(1);
  for (ExitCode claim : {ExitCode::LoggedOff, ExitCode::InstallerClose}) {
    m.End(m.Guard(1), Code(claim));
    m.Advance(service::Watchdog::kClaimGrace - 1);
    EXPECT_EQ(m.Guard(1), 0);
    m.Advance(1);
    EXPECT_NE(m.Guard(1), 0);
    EXPECT_EQ(m.reports[m.reports.size() - 2].kind, Kind::EndNotConfirmed);
    EXPECT_EQ(m.reports.back().kind, Kind::Restarted);
    m.Advance(service::Watchdog::kDoubt);  // doubted no longer
  }
}

TEST_F(WatchdogTest, AfterAStopNothingStarts) {
  m.LogOn(1);
  m.End(m.Guard(1), Code(ExitCode::InstallerClose));  // uninstall: close, then stop
  m.dog.Stop();
  m.Advance(600'000);
  m.LogOn(2);
  m.dog.Start(m.now);
  EXPECT_EQ(m.starts, 1);
  EXPECT_TRUE(m.Guards(1).empty());
}

TEST_F(WatchdogTest, SixKillsInARowHitTheRateLimitAndTheBackOffGrowsUntilACalmRun) {
  m.LogOn(1);
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(KillAndSeeItBack(1)) << i;
    m.Advance(1000);
  }
  m.End(m.Guard(1), kKilled);
  EXPECT_EQ(m.Guard(1), 0);
  EXPECT_EQ(m.reports.back().kind, Kind::RestartDelayed);
  EXPECT_EQ(m.reports.back().delay, 30'000);
  m.Advance(29'999);
  EXPECT_EQ(m.Guard(1), 0);
  m.Advance(1);
  ASSERT_NE(m.Guard(1), 0);

  m.End(m.Guard(1), kKilled);
  EXPECT_EQ(m.reports.back().delay, 60'000);
  m.Advance(60'000);
  m.Advance(60'000);  // a calm minute
  EXPECT_TRUE(KillAndSeeItBack(1));
}

TEST_F(WatchdogTest, TheBackOffStopsGrowingAtFiveMinutes) {
  m.LogOn(1);
  for (int i = 0; i < 5; ++i) KillAndSeeItBack(1);
  Millis last = 0;
  for (int i = 0; i < 6; ++i) {
    m.End(m.Guard(1), kKilled);
    last = m.reports.back().delay;
    m.Advance(last);
  }
  EXPECT_EQ(last, 300'000);
}

TEST_F(WatchdogTest, RestartsSpreadOverTheMinuteAreNotHeldBack) {
  m.LogOn(1);
  for (int i = 0; i < 12; ++i) {
    EXPECT_TRUE(KillAndSeeItBack(1)) << i;
    m.Advance(12'000);
  }
  // Four of them are still within the last minute: one more goes through, a sixth does not.
  EXPECT_TRUE(KillAndSeeItBack(1));
  m.Advance(1000);
  m.End(m.Guard(1), kKilled);
  EXPECT_EQ(m.Guard(1), 0);
}

TEST_F(WatchdogTest, AGuardStartedByTheUserDuringABackOffIsAdoptedNotDoubled) {
  m.LogOn(1);
  for (int i = 0; i < 5; ++i) KillAndSeeItBack(1);
  m.End(m.Guard(1), kKilled);
  const int own = m.Spawn(1);
  m.Advance(30'000);
  EXPECT_EQ(m.Guards(1), std::vector<int>{own});
  m.End(own, kKilled);
  EXPECT_EQ(m.Guard(1), 0);  // still held back
}

TEST_F(WatchdogTest, AFailedStartIsTriedAgainLater) {
  m.failStarts = true;
  m.LogOn(1);
  EXPECT_EQ(m.reports.back().kind, Kind::StartFailed);
  EXPECT_EQ(m.reports.back().delay, service::Watchdog::kStartRetry);
  m.failStarts = false;
  m.Advance(service::Watchdog::kStartRetry);
  EXPECT_NE(m.Guard(1), 0);
  EXPECT_EQ(m.reports.back().kind, Kind::Started);
}

TEST(WatchdogReportTest, TextsNameTheSessionTheExitCodeAndTheWait) {
  EXPECT_EQ(Describe(Report{Kind::Restarted, 2, 1, 0}),
            "Restarted the guard in session 2; it had ended with exit code 0x00000001.");
  const std::string delayed = Describe(Report{Kind::RestartDelayed, 1, 0xC0000005u, 29'500});
  EXPECT_NE(delayed.find("0xC0000005"), std::string::npos);
  EXPECT_NE(delayed.find("waits 30 s"), std::string::npos);
  EXPECT_FALSE(Report{Kind::Started}.Warning());
  EXPECT_TRUE(Report{Kind::Restarted}.Warning());
}

}  // namespace
}  // namespace pw
