#include "passwords/frm_password.h"

#include "app/app.h"
#include "base/names.h"
#include "base/text.h"

namespace pw {

namespace {

using owner::Answer;

// How long typing pauses before the entry is checked for the Unlock All box.
constexpr int kCheckPause = 600;

}  // namespace

frmPassword::frmPassword(App& app)
    : Form(app.platform.toolkit, "frmPassword",
           {.caption = "Pagewarden",
            .clientWidth = 4440,
            .clientHeight = 1395,
            // The cursor is confined to the client area measured in this scale.
            .scaleMode = forms::ScaleMode::Pixels,
            .icon = kProgramIcon,
            // Form_Load centres the prompt itself.
            .centerOnScreen = false}),
      txtPassword(*this, "txtPassword", "", {480, 480, 2175, 285}, 0),
      cmdOK(*this, "cmdOK", "OK", {2805, 480, 855, 360}, 1),
      chkunlock(*this, "chkunlock", "Unlock All ", {480, 840, 1080, 255}, 2),
      Label1(*this, "Label1", kPrompt, {480, 240, 3735, 255}),
      cmdDeactivate(*this, "cmdDeactivate", "OK", {2790, 840, 855, 360}, 4),
      Command1(*this, "Command1", "X", {3720, 480, 375, 360}, 5),
      Timer1(*this, "Timer1", 10000, false),
      TimerForce(*this, "TimerForce", 1000, false),
      TimerCheck(*this, "TimerCheck", kCheckPause, false),
      app_(app) {
  txtPassword.design.passwordChar = '*';
  txtPassword.design.maxLength = 8;
  cmdOK.design.isDefault = true;
  cmdOK.design.isCancel = true;
  chkunlock.design.visible = false;
  Label1.design.tabIndex = 3;
  Label1.design.foreColor = forms::kColorButtonText;
  cmdDeactivate.design.visible = false;
  cmdDeactivate.design.enabled = false;

  txtPassword.onChange = [this] { txtPassword_Change(); };
  cmdOK.onClick = [this] { cmdOK_Click(); };
  cmdDeactivate.onClick = [this] { cmdDeactivate_Click(); };
  Command1.onClick = [this] { Command1_Click(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
  TimerForce.onTimer = [this] { TimerForce_Timer(); };
  TimerCheck.onTimer = [this] { TimerCheck_Timer(); };
}

void frmPassword::Form_Load() {
  const forms::ScreenInfo screen = Tk().Screen();
  Move((screen.WidthTwips() - Width()) / 2, (screen.HeightTwips() - Height()) / 2);
  // Where the service keeps the passwords the guard cannot tell whether one is set.
  if (app_.shared.UnlockPassword.empty() && !app_.keeper.ServiceKeeps()) {
    Label1.SetCaption(kNoPassword);
  }
}

void frmPassword::txtPassword_Change() {
  const Shared& shared = app_.shared;
  if (shared.SetupRequested) return;
  // Unlock-all mode never offers it: its OK button already unlocks everything. (Its refusal
  // empties the entry, which would otherwise match an empty unlock password.)
  if (cmdDeactivate.Visible()) {
    chkunlock.SetVisible(false);
    return;
  }
  if (app_.keeper.ServiceKeeps()) {
    chkunlock.SetVisible(false);
    // Each change starts the pause anew.
    TimerCheck.SetEnabled(shared.UnlockAllAllowed && !txtPassword.Text().empty());
    return;
  }
  // The box is offered only to someone who already typed the unlock password.
  const bool offer = shared.UnlockAllAllowed &&
                     app_.platform.text.Lower(txtPassword.Text()) == shared.UnlockPassword;
  chkunlock.SetVisible(offer);
}

void frmPassword::TimerCheck_Timer() {
  TimerCheck.SetEnabled(false);
  const Shared& shared = app_.shared;
  if (shared.SetupRequested || cmdDeactivate.Visible() || !shared.UnlockAllAllowed) return;
  const owner::Reply reply =
      app_.keeper.CheckUnlock(app_.platform.text.Lower(txtPassword.Text()), shared.UnlockPassword);
  chkunlock.SetVisible(reply.answer == Answer::Right);
  if (reply.answer != Answer::Right && reply.answer != Answer::Wrong) {
    ShowRefusal(owner::Explain(reply, ""));
  }
}

void frmPassword::cmdOK_Click() {
  Shared& shared = app_.shared;
  shared.UnlockAllAllowed = true;
  TimerCheck.SetEnabled(false);
  const std::string entry = app_.platform.text.Lower(txtPassword.Text());
  txtPassword.SetText(entry);

  if (shared.SetupRequested) {
    const owner::Reply reply = app_.keeper.CheckSetup(entry, shared.SetupPassword);
    if (reply.answer == Answer::Right) {
      shared.PasswordAccepted = true;
      shared.SetupEntry = entry;
      shared.SetupNeedsAdmin = !reply.mayStore;
      Unload();
    } else if (reply.answer == Answer::Wrong) {
      ShowDenial();
    } else {
      ShowRefusal(owner::Explain(reply, ""));
    }
    return;
  }
  if (entry.empty()) {
    // Confirming an empty entry is a dismissal, not a wrong password.
    shared.PasswordAccepted = false;
    Unload();
    return;
  }
  const owner::Reply reply = app_.keeper.CheckUnlock(entry, shared.UnlockPassword);
  if (reply.answer == Answer::Wrong) {
    ++shared.WrongAnswers;
    ShowDenial();
    return;
  }
  if (reply.answer != Answer::Right) {
    ShowRefusal(owner::Explain(reply, ""));
    return;
  }
  shared.PasswordAccepted = true;
  if (chkunlock.Value() == 1) {
    UnlockAll();
  } else {
    Unload();
  }
}

void frmPassword::cmdDeactivate_Click() {
  Shared& shared = app_.shared;
  shared.UnlockAllAllowed = true;
  const std::string typed = txtPassword.Text();
  if (typed.empty()) {
    shared.PasswordAccepted = false;
    Unload();
    return;
  }
  const owner::Reply reply =
      app_.keeper.CheckUnlock(app_.platform.text.Lower(typed), shared.UnlockPassword);
  if (reply.answer != Answer::Right) {
    shared.PasswordAccepted = false;
    if (reply.answer == Answer::Wrong) ++shared.WrongAnswers;
    txtPassword.SetText("");
    txtPassword.SetFocus();
    app_.platform.input.Beep();
    if (reply.answer != Answer::Wrong) ShowRefusal(owner::Explain(reply, ""));
    return;
  }
  UnlockAll();
}

void frmPassword::Command1_Click() {
  Unload();
}

void frmPassword::ShowDenial() {
  app_.shared.PasswordAccepted = false;
  Label1.SetForeColor(forms::kColorRed);
  Label1.SetCaption(kDenied);
  Timer1.SetEnabled(true);
  // Selected, so the next keystroke replaces the wrong entry.
  txtPassword.SetSelection(0, static_cast<int>(txtPassword.Text().size()));
}

void frmPassword::ShowRefusal(const std::string& why) {
  ShowDenial();
  Label1.SetCaption(why);
}

void frmPassword::EnterUnlockAllMode() {
  Show();
  cmdDeactivate.SetVisible(true);
  cmdDeactivate.SetEnabled(true);
  cmdDeactivate.SetDefault(true);
  cmdDeactivate.SetTop(cmdOK.Position().top);
  cmdOK.SetVisible(false);
}

void frmPassword::UnlockAll() {
  Shared& shared = app_.shared;
  app_.platform.windows.ClipCursor(nullptr);
  shared.PasswordAccepted = true;
  shared.AllUnlocked = true;
  app_.main.ShowAllUnlocked(true);
  Unload();
}

void frmPassword::Timer1_Timer() {
  Label1.SetCaption(kPrompt);
  Label1.SetForeColor(forms::kColorButtonText);
  Timer1.SetEnabled(false);
}

void frmPassword::TimerForce_Timer() {
  Show();
  app_.platform.windows.SetWindowPos(hWnd(), HWND_TOPMOST_, 0, 0, 0, 0,
                                     SWP_NOSIZE_NOMOVE_NOACTIVATE);
  Shared& shared = app_.shared;
  if (shared.ForceCountdown > 0) --shared.ForceCountdown;
}

}  // namespace pw
