#include <gtest/gtest.h>

#include "tests/support/machine_test.h"
#include "tests/support/sim_app.h"

namespace pw {
namespace {

class ChangePasswordTest : public test::MachineTest {
 protected:
  void SetUp() override {
    a.Start();
    a.Do([&] { a.app.setup.Show(); });
    a.Do([&] { a.app.setup.mnuChangePassword.Press(); });
  }
  void Type(forms::TextBox& box, const std::string& text) {
    a.Do([&] { box.Type(text); });
  }
  void Press(forms::CommandButton& button) {
    a.Do([&] { button.Press(); });
  }
  // Both passwords through the first OK.
  void Enter(const std::string& unlock, const std::string& setupPassword) {
    Type(dialog.txtPassword, unlock);
    Type(dialog.txtPassword2, setupPassword);
    Press(dialog.cmdOK);
  }

  test::SimApp a{machine};
  frmChangePassword& dialog = a.app.changePassword;
};

TEST_F(ChangePasswordTest, OkIsEnabledOnlyWhileBothBoxesHoldText) {
  ASSERT_TRUE(dialog.Visible());
  EXPECT_FALSE(a.app.setup.Enabled());
  EXPECT_EQ(dialog.Label1.Caption(), "Enter new passwords.");
  EXPECT_FALSE(dialog.cmdOK.Enabled());
  EXPECT_FALSE(dialog.chkpassword.Enabled());
  EXPECT_EQ(dialog.ActiveControl(), &dialog.txtPassword);

  Type(dialog.txtPassword, "a");
  EXPECT_TRUE(dialog.chkpassword.Enabled());
  EXPECT_FALSE(dialog.cmdOK.Enabled());
  Type(dialog.txtPassword2, "b");
  EXPECT_TRUE(dialog.cmdOK.Enabled());
  a.Do([&] { dialog.txtPassword.SetText(""); });
  EXPECT_FALSE(dialog.cmdOK.Enabled());
  EXPECT_TRUE(dialog.chkpassword.Enabled());  // stays enabled once the first box had text
  Type(dialog.txtPassword, "123456789");
  EXPECT_EQ(dialog.txtPassword.Text(), "12345678");
  EXPECT_TRUE(dialog.cmdOK.Enabled());
}

TEST_F(ChangePasswordTest, BothStagesStoreLowerCaseAndReloadTheMonitor) {
  Enter("Secret", "AdMin");
  EXPECT_EQ(dialog.Label1.Caption(), "Please confirm your passwords.");
  EXPECT_EQ(dialog.txtPassword.Text(), "");
  EXPECT_EQ(dialog.txtPassword2.Text(), "");
  EXPECT_FALSE(dialog.chkpassword.Enabled());
  EXPECT_FALSE(dialog.cmdOK.Enabled());
  EXPECT_FALSE(HasSetting("UserPassword"));

  Enter("SECRET", "admin");  // the confirmation ignores letter case
  EXPECT_FALSE(dialog.Loaded());
  EXPECT_TRUE(a.app.setup.Enabled());
  EXPECT_EQ(Setting("UserPassword"), "secret");
  EXPECT_EQ(Setting("UserPassword2"), "admin");
  EXPECT_TRUE(a.app.shared.ReloadPending);
  machine.world.RunFor(250);
  EXPECT_EQ(a.app.shared.UnlockPassword, "secret");
  EXPECT_EQ(a.app.shared.SetupPassword, "admin");
}

TEST_F(ChangePasswordTest, KeepSameAsAboveCopiesTheUnlockBoxOnce) {
  Type(dialog.txtPassword, "Open");
  a.Do([&] { dialog.chkpassword.Press(); });
  EXPECT_EQ(dialog.txtPassword2.Text(), "Open");
  EXPECT_FALSE(dialog.txtPassword2.Enabled());
  Type(dialog.txtPassword, "X");  // later typing does not follow
  EXPECT_EQ(dialog.txtPassword2.Text(), "Open");
  Press(dialog.cmdOK);
  EXPECT_EQ(dialog.txtPassword2.Text(), "Open");
  EXPECT_FALSE(dialog.txtPassword2.Enabled());
  EXPECT_EQ(dialog.chkpassword.Value(), 1);

  Type(dialog.txtPassword, "openx");  // only the unlock password is retyped
  Press(dialog.cmdOK);
  EXPECT_FALSE(dialog.Loaded());
  EXPECT_EQ(Setting("UserPassword"), "openx");
  EXPECT_EQ(Setting("UserPassword2"), "open");
}

TEST_F(ChangePasswordTest, UntickingOrCopyingAnEmptyBoxEmptiesTheSecondBox) {
  Type(dialog.txtPassword, "a");
  a.Do([&] { dialog.txtPassword.SetText(""); });
  a.Do([&] { dialog.chkpassword.Press(); });  // copies nothing
  EXPECT_EQ(dialog.txtPassword2.Text(), "");
  EXPECT_FALSE(dialog.cmdOK.Enabled());
  a.Do([&] { dialog.chkpassword.Press(); });
  EXPECT_TRUE(dialog.txtPassword2.Enabled());
  Type(dialog.txtPassword2, "b");
  Type(dialog.txtPassword, "a");
  EXPECT_TRUE(dialog.cmdOK.Enabled());
}

TEST_F(ChangePasswordTest, AWrongUnlockConfirmationStoresNothingAndUnticksTheCopy) {
  Type(dialog.txtPassword, "one");
  a.Do([&] { dialog.chkpassword.Press(); });
  Press(dialog.cmdOK);
  Type(dialog.txtPassword, "uno");
  Press(dialog.cmdOK);
  EXPECT_TRUE(dialog.Visible());
  EXPECT_EQ(dialog.Label1.Caption(),
            "One of the passwords doesn't match, please enter both of them again.");
  EXPECT_FALSE(HasSetting("UserPassword"));
  EXPECT_FALSE(HasSetting("UserPassword2"));
  EXPECT_FALSE(a.app.shared.ReloadPending);
  EXPECT_TRUE(dialog.PendingUnlockPassword.empty());
  EXPECT_EQ(dialog.txtPassword.Text(), "");
  EXPECT_EQ(dialog.txtPassword2.Text(), "");
  EXPECT_TRUE(dialog.chkpassword.Enabled());
  EXPECT_EQ(dialog.chkpassword.Value(), 0);
  EXPECT_TRUE(dialog.txtPassword2.Enabled());
}

TEST_F(ChangePasswordTest, AWrongSetupConfirmationStoresTheUnlockPasswordOnly) {
  Enter("one", "two");
  Enter("ONE", "tow");
  EXPECT_TRUE(dialog.Visible());
  EXPECT_EQ(dialog.Label1.Caption(),
            "One of the passwords doesn't match, please enter both again!");
  EXPECT_EQ(Setting("UserPassword"), "one");
  EXPECT_FALSE(HasSetting("UserPassword2"));
  EXPECT_FALSE(a.app.shared.ReloadPending);
  EXPECT_EQ(dialog.chkpassword.Value(), 0);
  EXPECT_TRUE(dialog.txtPassword2.Enabled());
}

TEST_F(ChangePasswordTest, CancelOrTheCloseBoxInTheConfirmationStageStartsOverNextTime) {
  Enter("one", "two");
  Press(dialog.cmdCancel);
  EXPECT_FALSE(dialog.Loaded());
  EXPECT_TRUE(a.app.setup.Enabled());
  a.Do([&] { a.app.setup.mnuChangePassword.Press(); });
  EXPECT_EQ(dialog.Label1.Caption(), "Enter new passwords.");
  Enter("three", "four");  // taken as new, not compared with "one"
  EXPECT_EQ(dialog.Label1.Caption(), "Please confirm your passwords.");

  a.Do([&] { dialog.RequestClose(forms::kUnloadCloseCommand); });
  EXPECT_FALSE(dialog.Loaded());
  a.Do([&] { a.app.setup.mnuChangePassword.Press(); });
  Enter("five", "six");
  EXPECT_EQ(dialog.Label1.Caption(), "Please confirm your passwords.");
  Enter("five", "six");
  EXPECT_EQ(Setting("UserPassword"), "five");
}

TEST_F(ChangePasswordTest, RefusedWritesKeepTheDialogOpenAndSaySo) {
  machine.registry.RefuseWritesUnder(HKEY_LOCAL_MACHINE_, "SOFTWARE");
  Enter("one", "two");
  Enter("one", "two");
  EXPECT_TRUE(dialog.Visible());
  EXPECT_FALSE(a.app.setup.Enabled());
  EXPECT_EQ(dialog.Label1.Caption(), frmChangePassword::kSaveFailed);
  EXPECT_FALSE(HasSetting("UserPassword"));
  EXPECT_TRUE(a.app.shared.ReloadPending);
  EXPECT_TRUE(dialog.PendingUnlockPassword.empty());  // back to the entry stage

  // A refused first write is reported also when the second password then does not match.
  a.app.shared.ReloadPending = false;
  Enter("one", "two");
  Enter("one", "tow");
  EXPECT_TRUE(dialog.Visible());
  EXPECT_EQ(dialog.Label1.Caption(), frmChangePassword::kSaveFailed);
  EXPECT_FALSE(HasSetting("UserPassword"));
  EXPECT_FALSE(a.app.shared.ReloadPending);

  machine.registry.AllowWrites();
  Enter("one", "two");
  Enter("one", "two");
  EXPECT_FALSE(dialog.Loaded());
  EXPECT_EQ(Setting("UserPassword2"), "two");
}

}  // namespace
}  // namespace pw
