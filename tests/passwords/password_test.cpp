#include <gtest/gtest.h>

#include "tests/monitor/lock_rig.h"

namespace pw {
namespace {

using test::kCasinoTitle;
using test::LockRig;

TEST(PasswordPromptTest, WithoutAnUnlockPasswordTheHintShowsAndNoEntryLetsTheWindowThrough) {
  LockRig r;
  r.Word(0, "casino");
  r.a.Start();
  const Hwnd first = r.OpenAndScan(kCasinoTitle);
  ASSERT_TRUE(r.PromptUp());
  EXPECT_EQ(r.Label(), frmPassword::kNoPassword);
  EXPECT_EQ(r.prompt().Left(), (1024 * 15 - r.prompt().Width()) / 2);
  EXPECT_EQ(r.prompt().Top(), (768 * 15 - r.prompt().Height()) / 2);
  r.PressOK();
  EXPECT_FALSE(r.PromptUp());
  EXPECT_FALSE(r.Exists(first));

  r.Open(kCasinoTitle);
  r.machine.world.RunFor(1000);
  r.Answer("abc");
  EXPECT_TRUE(r.Denied());
}

TEST(PasswordPromptTest, WrongEntryIsDeniedInRedAndTheLabelRecoversTenSecondsAfterTheLastDenial) {
  LockRig r;
  r.StartLocked();
  const Hwnd browser = r.OpenAndScan(kCasinoTitle);
  r.Answer("WRONG");
  frmPassword& p = r.prompt();
  EXPECT_TRUE(r.Held(browser));
  EXPECT_TRUE(r.Denied());
  EXPECT_EQ(p.Label1.ForeColor(), forms::kColorRed);
  EXPECT_EQ(p.txtPassword.Text(), "wrong");  // shown lowered from the first OK on
  EXPECT_EQ(p.txtPassword.SelStart(), 0);
  EXPECT_EQ(p.txtPassword.SelLength(), 5);

  // A second denial restarts the ten seconds.
  r.machine.world.RunFor(6000);
  r.Answer("x");
  EXPECT_EQ(p.txtPassword.Text(), "x");
  r.machine.world.RunFor(5000);
  EXPECT_EQ(r.Label(), frmPassword::kDenied);
  r.machine.world.RunFor(5000);
  EXPECT_EQ(r.Label(), frmPassword::kPrompt);
  EXPECT_EQ(p.Label1.ForeColor(), forms::kColorButtonText);
  EXPECT_EQ(r.a.app.shared.ForceCountdown, 0);  // no time limit: the force timer keeps it at 0

  r.Answer("secret");  // replaces the selected wrong entry
  EXPECT_TRUE(r.LetThrough(browser));
}

TEST(PasswordPromptTest, StoredCapitalsNeverMatchBecauseTheEntryIsLowered) {
  LockRig r;
  r.StartLocked({{"UserPassword", "Secret"}});
  r.OpenAndScan(kCasinoTitle);
  r.Answer("Secret");
  EXPECT_TRUE(r.Denied());
}

TEST(PasswordPromptTest, UnlockAllBoxIsOfferedForTheExactPasswordOnceUnlockAllIsAllowed) {
  LockRig r;
  r.StartLocked();
  r.OpenAndScan(kCasinoTitle);
  frmPassword& p = r.prompt();
  r.Type("SECRE");
  EXPECT_FALSE(p.chkunlock.Visible());
  r.Type("T");
  EXPECT_TRUE(p.chkunlock.Visible());
  r.Type("x");
  EXPECT_FALSE(p.chkunlock.Visible());
  r.a.Do([&] { p.Command1.Press(); });
  r.machine.world.RunFor(1000);

  // A tray prompt dismissed with X leaves Unlock All forbidden until an OK is pressed.
  r.OpenUnlockAll();
  r.a.Do([&] { p.Command1.Press(); });
  r.machine.world.RunFor(1000);
  ASSERT_EQ(r.trayReturns, 1);
  EXPECT_FALSE(r.a.app.shared.UnlockAllAllowed);
  r.OpenAndScan(kCasinoTitle);
  ASSERT_TRUE(r.PromptUp());
  r.Type("secret");
  EXPECT_FALSE(p.chkunlock.Visible());
  r.a.Do([&] { p.txtPassword.SetSelection(0, 6); });
  r.Answer("nope");
  EXPECT_TRUE(r.a.app.shared.UnlockAllAllowed);
  r.Type("secret");  // replaces the selected wrong entry
  EXPECT_TRUE(p.chkunlock.Visible());
}

TEST(PasswordPromptTest, UnlockAllModeBeepsAtAWrongEntryAndUnlocksEverythingAtTheRightOne) {
  LockRig r;
  r.StartLocked();
  r.OpenUnlockAll();
  frmPassword& p = r.prompt();
  ASSERT_TRUE(r.PromptUp());
  EXPECT_EQ(p.Caption(), "Webkeeper: Unlock All");
  r.Type("secret");
  EXPECT_FALSE(p.chkunlock.Visible());
  r.a.Do([&] { p.txtPassword.SetSelection(0, 6); });
  r.Type("nope");
  r.a.Do([&] { p.PressEnter(); });
  EXPECT_TRUE(r.PromptUp());
  EXPECT_EQ(p.txtPassword.Text(), "");
  EXPECT_TRUE(p.txtPassword.HasFocus());
  EXPECT_EQ(r.machine.beeps, 1);
  EXPECT_EQ(r.Label(), frmPassword::kPrompt);

  r.Type("SECRET");
  r.a.Do([&] { p.PressEnter(); });
  EXPECT_FALSE(r.PromptUp());
  EXPECT_EQ(r.trayReturns, 1);
  r.ExpectAllUnlocked(true);
  EXPECT_FALSE(r.machine.desktop.clip.has_value());
  EXPECT_EQ(r.machine.beeps, 1);
  // Closing ended the mode: the next prompt has its own OK button back.
  EXPECT_TRUE(p.cmdOK.Visible());
  EXPECT_FALSE(p.cmdDeactivate.Visible());
}

TEST(PasswordPromptTest, UnlockAllModeWithAnEmptyEntryIsADismissal) {
  LockRig r;
  r.StartLocked();
  r.OpenUnlockAll();
  r.a.Do([&] { r.prompt().PressEnter(); });
  EXPECT_FALSE(r.PromptUp());
  r.machine.world.RunFor(500);
  EXPECT_EQ(r.trayReturns, 1);
  EXPECT_FALSE(r.a.app.shared.PasswordAccepted);
  EXPECT_EQ(r.machine.beeps, 0);
  EXPECT_TRUE(r.a.app.main.timTarnwick.Enabled());
}

TEST(PasswordPromptTest, UnlockAllModeNeverOffersTheBoxEvenWithoutAnUnlockPassword) {
  LockRig r;
  r.a.Start();  // no unlock password stored
  r.OpenUnlockAll();
  r.a.Do([&] {
    r.prompt().txtPassword.Type("guess");
    r.prompt().PressEnter();
  });
  EXPECT_TRUE(r.PromptUp());
  EXPECT_EQ(r.prompt().txtPassword.Text(), "");  // emptied, which equals the empty password
  EXPECT_EQ(r.machine.beeps, 1);
  EXPECT_FALSE(r.prompt().chkunlock.Visible());
}

TEST(PasswordPromptTest, SetupModeChecksTheSetupPasswordAndNeverOffersUnlockAll) {
  {
    LockRig r;
    r.StartLocked({{"UserPassword2", "admin"}});
    r.OpenSetupPrompt();
    r.Type("secret");
    EXPECT_FALSE(r.prompt().chkunlock.Visible());
    r.PressOK();
    EXPECT_TRUE(r.Denied());
    r.Type("secret");  // Unlock All is allowed again after an OK, but not here
    EXPECT_FALSE(r.prompt().chkunlock.Visible());
    r.a.Do([&] { r.prompt().txtPassword.SetSelection(0, 6); });
    r.Answer("ADMIN");
    EXPECT_FALSE(r.PromptUp());
    EXPECT_EQ(r.trayReturns, 1);
    EXPECT_TRUE(r.SetupOpen());
  }
  {
    LockRig r;
    r.StartLocked();  // no setup password stored
    r.OpenSetupPrompt();
    r.Answer("x");
    EXPECT_TRUE(r.Denied());
    r.a.Do([&] { r.prompt().Command1.Press(); });
    r.machine.world.RunFor(500);
    EXPECT_EQ(r.trayReturns, 1);
    EXPECT_FALSE(r.SetupOpen());
    r.OpenSetupPrompt();
    r.a.Do([&] { r.prompt().PressEscape(); });
    EXPECT_FALSE(r.PromptUp());
    EXPECT_EQ(r.trayReturns, 2);
    EXPECT_TRUE(r.SetupOpen());
  }
}

}  // namespace
}  // namespace pw
