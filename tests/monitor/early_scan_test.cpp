#include <gtest/gtest.h>

#include "tests/monitor/lock_rig.h"

namespace pw {
namespace {

using test::kCasinoTitle;
using test::kLook;
using test::kTick;
using test::LockRig;

constexpr const char* kStartPage = "Start page - Microsoft Internet Explorer";

void Dismiss(LockRig& r) {
  r.a.Do([&] { r.prompt().Command1.Press(); });
}

TEST(EarlyScanTest, LockedPageComingToTheFrontIsFrozenWithinOneLookAtAnyPointOfTheScanPeriod) {
  LockRig r;
  r.StartLocked();
  r.machine.world.RunFor(1000);
  // Each try starts at another point of the 250 ms period, so most fall well before a tick.
  for (int i = 0; i < 11; ++i) {
    const Millis opened = r.machine.world.Now();
    const Hwnd page = r.Open(kCasinoTitle);
    const Millis frozen = r.FrozenBy(page, opened + kTick);
    ASSERT_NE(frozen, -1) << "try " << i;
    EXPECT_LE(frozen - opened, kLook) << "try " << i;
    EXPECT_TRUE(r.PromptUp());
    EXPECT_EQ(r.Prompts(), i + 1);
    Dismiss(r);
    EXPECT_FALSE(r.Exists(page));
    r.machine.world.RunFor(1000 + 23 * i);
  }
}

TEST(EarlyScanTest, TheSameWindowTurningLockedIsFrozenWithinOneLook) {
  LockRig r;
  r.StartLocked();
  const Hwnd browser = r.Open(kStartPage);
  r.machine.world.RunFor(1000 + 7);
  ASSERT_TRUE(r.Win(browser).enabled);

  Millis changed = r.machine.world.Now();
  r.machine.desktop.SetTitle(browser, kCasinoTitle);
  Millis frozen = r.FrozenBy(browser, changed + kTick);
  ASSERT_NE(frozen, -1);
  EXPECT_LE(frozen - changed, kLook);
  EXPECT_EQ(r.prompt().Caption(), "Webkeeper: Casino Royale - Microsoft Internet Explo");
  r.Answer("secret");
  ASSERT_EQ(r.a.app.main.List2.ListCount(), 1);

  // A window the scan passed over while it was hidden is looked at once it shows, though its
  // handle and title stayed the same.
  const Hwnd hidden = r.machine.desktop.CreateWindow("OtherFrame", kCasinoTitle, 0, false);
  r.machine.desktop.BringToFront(hidden);
  r.machine.world.RunFor(600 + 11);
  ASSERT_TRUE(r.Win(hidden).enabled);
  ASSERT_EQ(r.Prompts(), 1);
  changed = r.machine.world.Now();
  r.Win(hidden).visible = true;
  frozen = r.FrozenBy(hidden, changed + kTick);
  ASSERT_NE(frozen, -1);
  EXPECT_LE(frozen - changed, kLook);
}

TEST(EarlyScanTest, ReportedChangesAreScannedAtOnce) {
  LockRig r;
  r.machine.desktop.reportsChanges = true;
  r.StartLocked();
  const Hwnd start = r.Open(kStartPage);
  r.machine.world.RunFor(1000 + 3);
  const Hwnd page = r.Open(kCasinoTitle, "OtherFrame");
  r.machine.world.RunFor(0);
  EXPECT_FALSE(r.Win(page).enabled);
  r.Answer("secret");

  // The exempt page stays in front; the start page turning locked behind it means nothing until
  // it comes to the front.
  r.machine.world.RunFor(500 + 3);
  r.machine.desktop.SetTitle(start, "Casino night - Microsoft Internet Explorer");
  r.machine.world.RunFor(kTick);
  EXPECT_TRUE(r.Win(start).enabled);
  r.machine.desktop.BringToFront(start);
  r.machine.world.RunFor(0);
  EXPECT_FALSE(r.Win(start).enabled);
}

TEST(EarlyScanTest, OnceChangesAreReportedTheyReplaceTheLookEveryPeriod) {
  LockRig r;
  r.machine.desktop.reportsChanges = true;
  r.StartLocked();
  const Hwnd page = r.Open(kStartPage);  // the first report
  r.machine.world.RunFor(1000);
  const long before = r.a.host.toolkit.Passes();
  r.machine.world.RunFor(5000);
  // The two 250 ms timers tick together, 20 times: no look every 30 ms.
  EXPECT_LE(r.a.host.toolkit.Passes() - before, 21);

  r.machine.world.RunFor(7);
  const Millis changed = r.machine.world.Now();
  r.machine.desktop.SetTitle(page, kCasinoTitle);
  const Millis frozen = r.FrozenBy(page, changed + kTick);
  ASSERT_NE(frozen, -1);
  EXPECT_LE(frozen - changed, 1);
}

TEST(EarlyScanTest, WhereOnlyTheFocusIsReportedTheLookStaysForTitlesAtHalfTheRate) {
  LockRig r;
  r.machine.desktop.reportsChanges = true;
  r.machine.desktop.reportsTitles = false;
  r.StartLocked();
  const Hwnd start = r.Open(kStartPage);
  r.machine.world.RunFor(1000);
  const long before = r.a.host.toolkit.Passes();
  r.machine.world.RunFor(6000);
  EXPECT_LE(r.a.host.toolkit.Passes() - before, 6000 / 60 + 1);
  const Hwnd page = r.Open(kCasinoTitle, "OtherFrame");
  r.machine.world.RunFor(0);
  EXPECT_FALSE(r.Win(page).enabled) << "frozen on the report, not at the next look";
  r.Answer("secret");

  r.machine.desktop.BringToFront(start);
  r.machine.world.RunFor(500 + 7);
  const Millis changed = r.machine.world.Now();
  r.machine.desktop.SetTitle(start, "Casino night - Microsoft Internet Explorer");
  const Millis frozen = r.FrozenBy(start, changed + kTick);
  ASSERT_NE(frozen, -1);
  EXPECT_LE(frozen - changed, 60);
}

TEST(EarlyScanTest, NothingIsScannedOrWokenForWhileTheScanIsOff) {
  LockRig r;
  r.StartLocked();
  r.OpenUnlockAll();
  r.Type("secret");
  r.a.Do([&] { r.prompt().PressEnter(); });
  ASSERT_FALSE(r.a.app.main.timTarnwick.Enabled());

  const long before = r.a.host.toolkit.Passes();
  const Hwnd page = r.Open(kCasinoTitle);
  r.machine.world.RunFor(5000);
  r.machine.desktop.SetTitle(page, "Casino night - Microsoft Internet Explorer");
  r.machine.world.RunFor(5000);
  EXPECT_TRUE(r.Win(page).enabled);
  EXPECT_EQ(r.Prompts(), 1);  // the Unlock All prompt's own
  // The watcher's 40 ticks and little else: no looks in front while the scan is off.
  EXPECT_LT(r.a.host.toolkit.Passes() - before, 60);

  // Lock All: the scan resumes with the reload, the looks with its first tick.
  r.a.Do([&] { r.a.app.shared.ReloadPending = true; });
  ASSERT_NE(r.FrozenBy(page, r.machine.world.Now() + 2 * kTick + kLook), -1);
}

TEST(EarlyScanTest, NoEarlyScanWhileAStopActionWaitsOnlyRightAfterIt) {
  LockRig r;
  r.StartLocked();
  const Hwnd first = r.Open(kCasinoTitle);
  r.machine.world.RunFor(kLook);
  ASSERT_TRUE(r.PromptUp());

  // The scan tick waits for the answer: a second page coming to the front is left alone.
  const Hwnd second = r.Open("Casino night - Internet Explorer", "OtherFrame");
  r.machine.world.RunFor(3000);
  EXPECT_TRUE(r.Win(second).enabled);
  EXPECT_EQ(r.Prompts(), 1);

  const Millis answered = r.machine.world.Now();
  r.Answer("secret");
  EXPECT_TRUE(r.Win(first).enabled);
  const Millis frozen = r.FrozenBy(second, answered + kTick);
  ASSERT_NE(frozen, -1);
  EXPECT_LE(frozen - answered, kLook);
  EXPECT_EQ(r.Prompts(), 2);
}

TEST(EarlyScanTest, NoEarlyScanInsideAStopActionThatLeftTheScanOn) {
  // A tray action served inside another one's wait can switch the scan back on while the outer
  // stop action still waits; its ticks then run there, but no look in front may start a scan.
  LockRig r;
  r.StartLocked();
  const Hwnd start = r.Open(kStartPage);
  r.machine.world.RunUntil(1000 + 1);
  r.a.Do([&] {
    frmMain& m = r.a.app.main;
    m.TargetWindow = 0;
    m.StopWindow();
  });
  ASSERT_TRUE(r.PromptUp());
  ASSERT_TRUE(r.a.app.main.timTarnwick.Enabled());
  // The scan tick at 1250 runs inside the wait and sees the start page.
  r.machine.desktop.BringToFront(start);
  r.machine.world.RunUntil(1250 + 1);
  const Hwnd page = r.Open(kCasinoTitle, "OtherFrame");
  // A look would have frozen it by now; the next tick, at most a look early, is not due yet.
  r.machine.world.RunUntil(1250 + 1 + kLook + 10);
  EXPECT_TRUE(r.Win(page).enabled);
  EXPECT_EQ(r.Prompts(), 1);
}

TEST(EarlyScanTest, ScanTicksStillCatchWhatTheLookCannotSee) {
  LockRig r;
  r.StartLocked();
  const Hwnd browser = r.Open("Poker night - Microsoft Internet Explorer");
  r.machine.world.RunFor(1000 + 5);
  // A new word makes the window in front locked, though nothing changed in front: the scan
  // tick after the reload finds it.
  r.Word(1, "poker");
  r.a.Do([&] { r.a.app.shared.ReloadPending = true; });
  EXPECT_NE(r.FrozenBy(browser, r.machine.world.Now() + 2 * kTick), -1);
}

}  // namespace
}  // namespace pw
