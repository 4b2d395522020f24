#include <cmath>
#include <utility>

#include "app/app.h"
#include "base/names.h"
#include "monitor/frm_main.h"
#include "platform/win32_constants.h"
#include "store/settings_layout.h"
#include "store/settings_store.h"

namespace pw {

namespace {

// The tray callback's x coordinate carries the mouse message.
constexpr long kDoubleClick = WM_LBUTTONDBLCLK_;
constexpr long kRightButtonUp = WM_RBUTTONUP_;
constexpr const char* kClosingCaption = "ooh! ";

}  // namespace

void frmMain::Form_MouseMove(int button, int shift, float x, float y) {
  (void)button, (void)shift, (void)y;
  if (Visible()) return;
  // The shell puts the mouse event code where the x coordinate goes; the toolkit scaled it.
  const long twips = std::lrint(x);
  const long perPixel =
      std::lrint(static_cast<float>(app_.platform.toolkit.Screen().TwipsPerPixelX()));
  if (perPixel == 0) return;
  const long code = twips / perPixel;
  if (code != kDoubleClick && code != kRightButtonUp) return;
  if (WaitingWithoutPrompt()) {
    trayClickLater_ = code;
    tmrTrayClick.SetEnabled(true);
    return;
  }
  TrayClick(code);
}

void frmMain::tmrTrayClick_Timer() {
  if (WaitingWithoutPrompt()) return;
  tmrTrayClick.SetEnabled(false);
  TrayClick(std::exchange(trayClickLater_, 0));
}

void frmMain::TrayClick(long code) {
  if (code == kDoubleClick) {
    if (!HideMenuOn) mnuTWKSetup_Click();
    return;
  }
  if (code != kRightButtonUp) return;
  // Over a prompt's wait the menu stays open only while that wait lasts (Timer1 closes it).
  const bool outer = std::exchange(menuOverWait_, timTarnwick.Running() || stopDepth_ > 0);
  if (!HideMenuOn) {
    PopupMenu(mnufile, &mnuTWKSetup);
  } else {
    PopupMenu(mnufile2);
  }
  menuOverWait_ = outer;
}

bool frmMain::WaitingWithoutPrompt() {
  return (timTarnwick.Running() || stopDepth_ > 0) && !PromptShown();
}

bool frmMain::PromptWaitOver() {
  const Shared& shared = app_.shared;
  return !PromptShown() || (shared.TimeDelay > 0 && shared.ForceCountdown == 0);
}

void frmMain::Form_ShellRestarted() {
  if (!ReadSwitch(app_.registry, kDisableMenu)) app_.module1.AddTrayIcon();
}

void frmMain::mnuTWKSetup_Click() {
  Shared& shared = app_.shared;
  if (NoPasswordPrompt) NoPasswordPrompt = false;  // the setup password is always asked for
  shared.SetupRequested = false;
  // The scan goes on while the prompt waits: a prompt left open must not open the lock.
  app_.password.Show();
  shared.UnlockAllAllowed = false;
  TargetWindow = 0;
  shared.SetupRequested = true;
  StopWindow();
  if (shared.PasswordAccepted) app_.setup.Show();
  if (!shared.AllUnlocked) timTarnwick.SetEnabled(true);
  shared.SetupRequested = false;
  GetSettings();
  StopPageFoundMeanwhile();
}

void frmMain::mnuDeactivate_Click() {
  Shared& shared = app_.shared;
  // The scan goes on while the prompt waits; it stops once the answer unlocks everything.
  List2.Clear();
  app_.password.EnterUnlockAllMode();
  shared.UnlockAllAllowed = false;
  TargetTitle = "Unlock All";
  TargetWindow = 0;
  StopWindow();
  if (!shared.PasswordAccepted) timTarnwick.SetEnabled(true);
  StopPageFoundMeanwhile();
}

void frmMain::mnuReactivate_Click() {
  app_.shared.ReloadPending = true;
}

void frmMain::mnuLockAllWindows2_Click() {
  app_.shared.ReloadPending = true;
}

void frmMain::mnuAbout_Click() {
  app_.about.Show();
}

void frmMain::mnuabout2_Click() {
  app_.about.Show();
}

void frmMain::Form_QueryUnload(int& cancel, int unloadMode) {
  Process& process = app_.platform.process;
  if (unloadMode == forms::kUnloadEndSession) {
    process.EndNow(static_cast<std::uint32_t>(ExitCode::LoggedOff));
  }
  // Closed to be replaced or removed: no fresh copy, and the watchdog starts none either.
  if (unloadMode == forms::kUnloadInstallerClose) {
    process.EndNow(static_cast<std::uint32_t>(ExitCode::InstallerClose));
  }
  // The service's guard stays: closed, it would leave the session unguarded while the next one
  // starts, as often as any program of the user asks, and a fresh copy started from here would
  // be the user's own, which the user could end or freeze.
  if (process.SessionGuard()) {
    cancel = 1;
    return;
  }
  // A new copy takes over; it will not take this window for a running monitor.
  SetCaption(kClosingCaption);
  Shell& shell = app_.platform.shell;
  bool started = shell.StartProgram(app_.shared.AppFolder + kGuardProgram, SW_SHOWNOACTIVATE_);
  if (!started) {
    SetCaption(kClosingCaption);
    started = shell.StartProgram(kGuardProgram, SW_SHOWNOACTIVATE_);
  }
  // Without a fresh copy the watchdog, where installed, starts one.
  if (started) app_.exitCode = ExitCode::HandedOver;
}

}  // namespace pw
