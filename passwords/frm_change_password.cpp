#include "passwords/frm_change_password.h"

#include "app/app.h"
#include "base/names.h"
#include "base/text.h"

namespace pw {

namespace {

constexpr const char* kEnterCaption = "Enter new passwords.";
constexpr const char* kConfirmCaption = "Please confirm your passwords.";
constexpr const char* kFirstMismatch =
    "One of the passwords doesn't match, please enter both of them again.";
constexpr const char* kSecondMismatch =
    "One of the passwords doesn't match, please enter both again!";

constexpr int kPasswordLength = 8;

}  // namespace

frmChangePassword::frmChangePassword(App& app)
    : Form(app.platform.toolkit, "frmChangePassword",
           forms::DialogDesign("Change Password", 4890, 2760, kProgramIcon)),
      Label1(*this, "Label1", kEnterCaption, {240, 120, 3255, 375}),
      Frame1(*this, "Frame1", "Password for all Locked Windows", {240, 720, 3255, 735}),
      txtPassword(*this, "txtPassword", "", {240, 285, 2655, 295}, 0),
      Frame2(*this, "Frame2", "Password for Setup tool", {240, 1560, 3255, 975}),
      txtPassword2(*this, "txtPassword2", "", {240, 285, 2655, 300}, 1),
      chkpassword(*this, "chkpassword", "Keep same as above", {240, 600, 2535, 255}, 2),
      cmdOK(*this, "cmdOK", "OK", {3720, 120, 975, 360}, 3),
      cmdCancel(*this, "cmdCancel", "Cancel", {3720, 555, 975, 360}, 4),
      app_(app) {
  Frame1.design.tabIndex = 5;
  Frame2.design.tabIndex = 6;
  Label1.design.tabIndex = 7;
  txtPassword.container = &Frame1;
  txtPassword2.container = &Frame2;
  chkpassword.container = &Frame2;
  for (forms::TextBox* box : {&txtPassword, &txtPassword2}) {
    box->design.passwordChar = '*';
    box->design.maxLength = kPasswordLength;
  }
  chkpassword.design.enabled = false;
  cmdOK.design.enabled = false;
  cmdOK.design.isDefault = true;
  cmdCancel.design.isCancel = true;

  txtPassword.onChange = [this] { txtPassword_Change(); };
  txtPassword2.onChange = [this] { txtPassword2_Change(); };
  chkpassword.onClick = [this] { chkpassword_Click(); };
  cmdOK.onClick = [this] { cmdOK_Click(); };
  cmdCancel.onClick = [this] { cmdCancel_Click(); };
}

void frmChangePassword::txtPassword_Change() {
  if (!txtPassword.Text().empty()) {
    chkpassword.SetEnabled(true);
    if (!txtPassword2.Text().empty()) cmdOK.SetEnabled(true);
  } else {
    cmdOK.SetEnabled(false);
  }
}

void frmChangePassword::txtPassword2_Change() {
  if (txtPassword2.Text().empty()) {
    cmdOK.SetEnabled(false);
  } else if (!txtPassword.Text().empty()) {
    cmdOK.SetEnabled(true);
  }
}

void frmChangePassword::chkpassword_Click() {
  if (chkpassword.Value() == 1) {
    // A copy taken once, as typed; later typing in the first box does not follow.
    txtPassword2.SetText(txtPassword.Text());
    txtPassword2.SetEnabled(false);
  } else {
    txtPassword2.SetEnabled(true);
    txtPassword2.SetText("");
  }
}

void frmChangePassword::cmdOK_Click() {
  if (PendingUnlockPassword.empty()) {
    TakePasswords();
  } else {
    ConfirmPasswords();
  }
}

void frmChangePassword::TakePasswords() {
  PendingUnlockPassword = app_.platform.text.Lower(txtPassword.Text());
  PendingSetupPassword = app_.platform.text.Lower(txtPassword2.Text());
  txtPassword.SetText("");
  if (chkpassword.Value() != 1) {
    txtPassword2.SetText("");
  } else {
    // The copy stays in place and confirms itself.
    txtPassword2.SetEnabled(false);
  }
  Label1.SetCaption(kConfirmCaption);
  chkpassword.SetEnabled(false);
}

void frmChangePassword::ConfirmPasswords() {
  txtPassword.SetText(app_.platform.text.Lower(txtPassword.Text()));
  txtPassword2.SetText(app_.platform.text.Lower(txtPassword2.Text()));
  if (txtPassword.Text() != PendingUnlockPassword) {
    Reset(kFirstMismatch);
    return;
  }
  PendingUnlockPassword.clear();
  Shared& shared = app_.shared;
  owner::Keeper& keeper = app_.keeper;
  const owner::Reply unlock = keeper.StoreUnlock(shared.SetupEntry, txtPassword.Text());
  const bool unlockStored = unlock.answer == owner::Answer::Right;
  if (txtPassword2.Text() != PendingSetupPassword) {
    // The refusal outweighs the mismatch: the user must not believe the first one was stored.
    Reset(unlockStored ? kSecondMismatch : owner::Explain(unlock, kSaveFailed));
    return;
  }
  PendingSetupPassword.clear();
  const owner::Reply setup = keeper.StoreSetup(shared.SetupEntry, txtPassword2.Text());
  // Raised after a partial store too, so the monitor holds what the registry holds.
  shared.ReloadPending = true;
  if (!unlockStored || setup.answer != owner::Answer::Right) {
    Reset(owner::Explain(unlockStored ? setup : unlock, kSaveFailed));
    return;
  }
  // The stores that follow in this setup session carry the new setup password.
  shared.SetupEntry = txtPassword2.Text();
  Unload();
}

void frmChangePassword::Reset(const std::string& message) {
  Label1.SetCaption(message);
  txtPassword.SetText("");
  PendingUnlockPassword.clear();
  txtPassword2.SetText("");
  PendingSetupPassword.clear();
  chkpassword.SetEnabled(true);
  chkpassword.SetValue(0);
  txtPassword2.SetEnabled(true);
}

void frmChangePassword::cmdCancel_Click() {
  PendingUnlockPassword.clear();
  Unload();
}

void frmChangePassword::Form_QueryUnload(int& cancel, int unloadMode) {
  (void)cancel;
  // The close box is a Cancel: otherwise the next opening would silently continue confirming.
  if (unloadMode == forms::kUnloadCloseCommand) PendingUnlockPassword.clear();
}

void frmChangePassword::Form_Unload() {
  app_.setup.ChildClosed();
}

}  // namespace pw
