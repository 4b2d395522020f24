#pragma once

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/timer.h"

#include <string>

namespace pw {

class App;

// The one password prompt. It guards a stopped window, the Unlock All action and the setup tool;
// which of them follows from SetupRequested and from how the caller arranged the buttons. The
// verdict travels only through the shared flags, since the caller waits by pumping events.
class frmPassword : public forms::Form {
 public:
  explicit frmPassword(App& app);

  static constexpr const char* kPrompt = "Password";
  static constexpr const char* kDenied = "Password: Access Denied!";
  static constexpr const char* kNoPassword = "Password: if none click OK, to set go into Config.";

  forms::TextBox txtPassword;
  forms::CommandButton cmdOK;
  forms::CheckBox chkunlock;
  forms::Label Label1;
  forms::CommandButton cmdDeactivate;
  forms::CommandButton Command1;
  forms::Timer Timer1;
  forms::Timer TimerForce;
  // Where the service judges passwords, the entry is checked for the Unlock All box once typing
  // pauses, so that typing never waits on a check and guessing costs checks.
  forms::Timer TimerCheck;

  // Shows the prompt with its Unlock All button in the place of OK.
  void EnterUnlockAllMode();

  void txtPassword_Change();
  void cmdOK_Click();
  void cmdDeactivate_Click();
  void Command1_Click();
  void Timer1_Timer();
  void TimerForce_Timer();
  void TimerCheck_Timer();

 protected:
  void Form_Load() override;

 private:
  void ShowDenial();
  // A check that gave no verdict: the prompt says why, as it does for a wrong password.
  void ShowRefusal(const std::string& why);
  void UnlockAll();

  App& app_;
};

}  // namespace pw
