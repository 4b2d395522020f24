#include <gtest/gtest.h>

#include <algorithm>

#include "tests/monitor/lock_rig.h"

namespace pw {
namespace {

using test::kCasinoTitle;
using test::LockRig;

bool Restored(const sim::SimWindow& w) {
  return std::find(w.showCommands.begin(), w.showCommands.end(), SW_RESTORE_) !=
         w.showCommands.end();
}

TEST(LockTest, LockedBrowserWindowIsFrozenAndPromptedWithTheCursorHeldOnThePrompt) {
  LockRig r;
  r.StartLocked();
  const Hwnd notepad = r.Open("casino.txt - Notepad", "Notepad");
  r.machine.world.RunFor(1000);
  EXPECT_TRUE(r.Win(notepad).enabled);
  EXPECT_EQ(r.Prompts(), 0);

  const Hwnd browser = r.OpenAndScan(kCasinoTitle);
  ASSERT_TRUE(r.PromptUp());
  EXPECT_FALSE(r.Win(browser).enabled);
  EXPECT_EQ(r.prompt().Caption(), "Webkeeper: Casino Royale - Microsoft Internet Explo");
  ASSERT_EQ(r.Prompts(), 1);
  EXPECT_EQ(r.machine.keystrokes[0].key, "DOWN");

  // Held inside the prompt's client area: 4440 x 1395 twips is 296 x 93 pixels.
  const sim::SimWindow* shown = r.PromptWindow();
  ASSERT_NE(shown, nullptr);
  const Point o = shown->clientOrigin;
  ASSERT_TRUE(r.machine.desktop.clip.has_value());
  const Rect clip = *r.machine.desktop.clip;
  EXPECT_EQ(clip.left, o.x);
  EXPECT_EQ(clip.top, o.y);
  EXPECT_EQ(clip.right, o.x + 296);
  EXPECT_EQ(clip.bottom, o.y + 93);
  const Point c = r.machine.desktop.cursor;
  EXPECT_TRUE(c.x >= clip.left && c.x < clip.right && c.y >= clip.top && c.y < clip.bottom);
  r.machine.desktop.MoveCursor({0, 0});
  EXPECT_EQ(r.machine.desktop.cursor.x, o.x);
  EXPECT_EQ(r.machine.desktop.cursor.y, o.y);

  // The force timer keeps it in the topmost layer.
  r.machine.world.RunFor(1000);
  EXPECT_TRUE(r.PromptWindow()->topmost);
  EXPECT_TRUE(r.PromptUp());
}

TEST(LockTest, OneStopPerTickAndTheWholeTitleIsSearched) {
  {
    LockRig r;
    r.Setting("UserPassword", "secret");
    r.Word(0, "royale");
    r.Word(1, "casino");
    r.a.Start();
    const Hwnd browser = r.OpenAndScan(kCasinoTitle);
    r.a.Do([&] { r.prompt().Command1.Press(); });
    r.machine.world.RunFor(1000);
    EXPECT_FALSE(r.Exists(browser));
    EXPECT_EQ(r.Prompts(), 1);
  }
  {
    LockRig r;
    r.StartLocked();
    r.OpenAndScan("Welcome to Microsoft Internet Explorer - your casino tonight");
    EXPECT_TRUE(r.PromptUp());
    EXPECT_EQ(r.a.app.main.TargetTitle, "Welcome to Microsoft Internet Explorer -");
  }
  {
    LockRig r;
    r.Setting("UserPassword", "secret");
    r.a.Start();  // no words at all
    r.Open(kCasinoTitle);
    r.machine.world.RunFor(1000);
    EXPECT_EQ(r.Prompts(), 0);
  }
}

TEST(LockTest, RightPasswordExemptsTheClassUntilItsLastWindowCloses) {
  LockRig r;
  r.StartLocked();
  const Hwnd first = r.OpenAndScan(kCasinoTitle);
  r.Answer("SECRET");
  EXPECT_TRUE(r.LetThrough(first));
  EXPECT_TRUE(Restored(r.Win(first)));
  EXPECT_EQ(r.Closes(first), 0);
  EXPECT_FALSE(r.machine.desktop.clip.has_value());
  ASSERT_EQ(r.a.app.main.List2.ListCount(), 1);
  EXPECT_EQ(r.a.app.main.List2.List(0), "IEFrame");

  const Hwnd second = r.Open("Casino night - Internet Explorer");
  r.machine.world.RunFor(1000);
  EXPECT_TRUE(r.Win(second).enabled);
  EXPECT_EQ(r.Prompts(), 1);

  r.machine.desktop.DestroyWindow(first);
  r.Tick();
  EXPECT_EQ(r.a.app.main.List2.ListCount(), 1);
  r.machine.desktop.DestroyWindow(second);
  r.Tick();
  EXPECT_EQ(r.a.app.main.List2.ListCount(), 0);

  r.OpenAndScan(kCasinoTitle);
  EXPECT_TRUE(r.PromptUp());
}

TEST(LockTest, RefusedPromptsCloseTheWindowAndTheTickEndsAfterTheCloseWait) {
  struct Way {
    const char* name;
    void (*answer)(LockRig&);
  };
  const Way ways[] = {
      {"empty OK", [](LockRig& r) { r.PressOK(); }},
      {"X", [](LockRig& r) { r.a.Do([&r] { r.prompt().Command1.Press(); }); }},
      {"Esc", [](LockRig& r) { r.a.Do([&r] { r.prompt().PressEscape(); }); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    LockRig r;
    r.StartLocked();
    const Hwnd browser = r.Open(kCasinoTitle);
    r.Win(browser).refusesClose = true;
    r.Tick();
    ASSERT_TRUE(r.PromptUp());
    const Millis answered = r.machine.world.Now();
    way.answer(r);
    EXPECT_FALSE(r.PromptUp());
    ASSERT_EQ(r.Closes(browser), 1);
    EXPECT_EQ(r.Win(browser).messages.back().at, answered);
    EXPECT_TRUE(r.Win(browser).enabled);
    EXPECT_FALSE(r.machine.desktop.clip.has_value());
    // A window that refuses to close is stopped again one tick after the 500 ms wait; the tick
    // may come with a look's wake-up, a little early.
    r.machine.world.RunFor(500 + test::kTick);
    ASSERT_EQ(r.Prompts(), 2);
    EXPECT_LE(r.machine.keystrokes[1].at, answered + 500 + test::kTick);
    EXPECT_GE(r.machine.keystrokes[1].at, answered + 500 + test::kTick - test::kLook);
    EXPECT_FALSE(r.Win(browser).enabled);
  }
}

TEST(LockTest, ProgramManagerIsNeverAskedToClose) {
  LockRig r;
  r.Setting("webbrowser", "Program");
  r.Word(0, "manager");
  r.a.Start();
  const Hwnd desktop = r.OpenAndScan("Program Manager", "Progman");
  ASSERT_TRUE(r.PromptUp());
  r.a.Do([&] { r.prompt().Command1.Press(); });
  EXPECT_TRUE(r.Exists(desktop));
  EXPECT_TRUE(r.Win(desktop).messages.empty());
  EXPECT_TRUE(r.Win(desktop).enabled);
}

TEST(LockTest, UnlockAllAtTheStopPromptSuspendsScanningUntilAReload) {
  LockRig r;
  r.StartLocked();
  const Hwnd browser = r.OpenAndScan(kCasinoTitle);
  r.Type("secret");
  ASSERT_TRUE(r.prompt().chkunlock.Visible());
  r.a.Do([&] { r.prompt().chkunlock.Press(); });
  r.PressOK();

  frmMain& m = r.a.app.main;
  const Shared& s = r.a.app.shared;
  EXPECT_TRUE(r.LetThrough(browser));
  r.ExpectAllUnlocked(true);
  EXPECT_FALSE(r.machine.desktop.clip.has_value());
  EXPECT_EQ(m.List2.ListCount(), 0);
  EXPECT_TRUE(Restored(r.Win(browser)));

  const Hwnd other = r.Open("More casino - Internet Explorer", "MozillaWindowClass");
  r.machine.world.RunFor(2000);
  EXPECT_TRUE(r.Win(other).enabled);
  EXPECT_EQ(r.Prompts(), 1);

  // Lock All: a reload re-reads the words and resumes within one watcher tick.
  r.Word(1, "poker");
  r.a.Do([&] { r.a.app.shared.ReloadPending = true; });
  r.Tick();
  EXPECT_FALSE(s.ReloadPending);
  r.ExpectAllUnlocked(false);
  EXPECT_EQ(m.List1.ListCount(), 2);
  r.Tick();
  EXPECT_TRUE(r.Held(other));
}

TEST(LockTest, NoPromptSettingClosesAtOnce) {
  LockRig r;
  r.StartLocked({{"passwordprompt", "1"}});
  const Hwnd browser = r.Open(kCasinoTitle);
  r.Win(browser).refusesClose = true;
  r.Tick();
  EXPECT_EQ(r.Prompts(), 0);
  EXPECT_FALSE(r.PromptUp());
  ASSERT_EQ(r.Closes(browser), 1);
  const Millis first = r.Win(browser).messages[0].at;
  EXPECT_LE(first, test::kLook);
  EXPECT_TRUE(r.Win(browser).enabled);
  // Refused: nothing changed in front, so the next scan tick asks again, a period after the
  // first one's 500 ms wait.
  r.machine.world.RunUntil(first + 500 + test::kTick);
  ASSERT_EQ(r.Closes(browser), 2);
  EXPECT_GE(r.Win(browser).messages[1].at, first + 500 + test::kTick - test::kLook);
}

TEST(LockTest, UnansweredPromptIsWithdrawnWhenTheTimeLimitRunsOut) {
  LockRig r;
  r.StartLocked({{"TimeDelay", "10"}});
  const Hwnd browser = r.OpenAndScan(kCasinoTitle);
  ASSERT_TRUE(r.PromptUp());
  r.machine.world.RunFor(9500);
  EXPECT_TRUE(r.PromptUp());
  EXPECT_GT(r.a.app.shared.ForceCountdown, 0);
  r.machine.world.RunFor(1000);
  EXPECT_FALSE(r.PromptUp());
  EXPECT_FALSE(r.Exists(browser));
  EXPECT_EQ(r.a.app.shared.ForceCountdown, 0);
  EXPECT_FALSE(r.a.app.shared.PasswordAccepted);
}

TEST(LockTest, DialogKeyedByALongTitleIsStoppedAgainAfterItIsLetThrough) {
  LockRig r;
  r.StartLocked();
  const std::string title = "Casino bonus - Internet Explorer security warning";
  ASSERT_GT(title.size(), 40u);
  r.OpenAndScan(title, "#32770");
  r.Answer("secret");
  ASSERT_EQ(r.a.app.main.List2.ListCount(), 1);
  EXPECT_EQ(r.a.app.main.List2.List(0), title.substr(0, 40));
  r.Tick();
  EXPECT_EQ(r.a.app.main.List2.ListCount(), 0);
  EXPECT_TRUE(r.PromptUp());
  EXPECT_EQ(r.Prompts(), 2);
}

TEST(LockTest, WaitingForAnAnswerDoesNotSpin) {
  LockRig r;
  r.StartLocked();
  r.OpenAndScan(kCasinoTitle);
  ASSERT_TRUE(r.PromptUp());
  const long before = r.a.host.toolkit.Passes();
  const int clipsBefore = r.machine.desktop.clipCalls;
  r.machine.world.RunFor(10000);
  // About one pass per timer tick: 40 watcher ticks, 40 cover ticks and 10 force ticks.
  EXPECT_LT(r.a.host.toolkit.Passes() - before, 100);
  EXPECT_TRUE(r.PromptUp());
  // A clip that still holds is not set again, since setting it can wake the wait.
  EXPECT_EQ(r.machine.desktop.clipCalls, clipsBefore);

  // Another program frees the cursor: the next pass holds it again.
  r.machine.desktop.Clip(nullptr);
  r.machine.world.RunFor(300);
  ASSERT_TRUE(r.machine.desktop.clip.has_value());
  const sim::SimWindow& prompt = *r.PromptWindow();
  EXPECT_EQ(r.machine.desktop.clip->left, prompt.clientOrigin.x);
  EXPECT_EQ(r.machine.desktop.clip->bottom, prompt.clientOrigin.y + 93);
}

}  // namespace
}  // namespace pw
