#pragma once

#include <string>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"

namespace pw {

class App;

// Sets the unlock and the setup password, each typed twice: the first OK takes the texts, the
// second compares the retyped ones and stores them.
class frmChangePassword : public forms::Form {
 public:
  explicit frmChangePassword(App& app);

  static constexpr const char* kSaveFailed =
      "The passwords could not be saved: that needs the Pagewarden service or administrator "
      "rights.";

  forms::Label Label1;
  forms::Frame Frame1;
  forms::TextBox txtPassword;
  forms::Frame Frame2;
  forms::TextBox txtPassword2;
  forms::CheckBox chkpassword;
  forms::CommandButton cmdOK;
  forms::CommandButton cmdCancel;

  // Lower-case texts taken at the first OK; they outlive unloads. Empty PendingUnlockPassword
  // means the dialog asks for new passwords, non-empty that it asks to confirm them.
  std::string PendingUnlockPassword;
  std::string PendingSetupPassword;

  void txtPassword_Change();
  void txtPassword2_Change();
  void chkpassword_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

 protected:
  void Form_Unload() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;

 private:
  void TakePasswords();
  void ConfirmPasswords();
  // Back to the entry stage with a message.
  void Reset(const std::string& message);

  App& app_;
};

}  // namespace pw
