#include <algorithm>
#include <array>

#include "app/app.h"
#include "monitor/frm_main.h"

namespace pw {

namespace {

constexpr const char* kDialogClass = "#32770";
constexpr const char* kProgramManager = "Program Manager";
constexpr const char* kPromptCaptionPrefix = "Webkeeper: ";
constexpr Point kCursorOnPrompt{220, 190};
constexpr int kCloseWait = 500;

}  // namespace

void frmMain::StopWindow() {
  Shared& shared = app_.shared;
  WindowSystem& windows = app_.platform.windows;
  frmPassword& prompt = app_.password;
  shared.PasswordAccepted = false;
  // A tray action served while we wait sets the monitor's target to no window; this stop action
  // still acts on the window it froze, or that window would stay frozen for good.
  const Hwnd target = TargetWindow;
  const std::string title = TargetTitle;

  // A class name exempts every window of that class; dialogs all share one class, so a dialog
  // is known by its title instead.
  std::string key;
  if (target != 0) {
    std::array<char, 300> buffer;
    buffer.fill(' ');
    const int length = windows.GetClassNameA(target, buffer.data(), 299);
    key.assign(buffer.data(), static_cast<std::size_t>(std::clamp(length, 0, 299)));
    if (key == kDialogClass) key = title;
  }

  const int exempt = List2.ListCount();
  for (int i = 0; i < exempt; ++i) {
    if (List2.List(i) == key && target != 0) return;
  }

  // A window that has stopped answering would hold us with it in EnableWindow, and with us the
  // tray, the timers and every other window. It is left for now; the scan stops it once it
  // answers and is in front again.
  if (target != 0 && !windows.Answers(target)) return;

  windows.EnableWindow(target, false);
  if (!NoPasswordPrompt) {
    prompt.SetCaption(kPromptCaptionPrefix + title);
    prompt.Show();
    app_.platform.input.SendDownArrowAndWait();
    SetMousePos();
    RestrictMouse();
    prompt.TimerForce.SetEnabled(true);
    if (shared.TimeDelay <= 0) {
      do {
        app_.platform.toolkit.DoEvents();
        RestrictMouse();
      } while (prompt.Visible());
    } else {
      shared.ForceCountdown = shared.TimeDelay;
      do {
        app_.platform.toolkit.DoEvents();
        RestrictMouse();
      } while (prompt.Visible() && shared.ForceCountdown != 0);
      // Out of time: the prompt goes unanswered, so the window is refused below.
      if (prompt.Visible()) prompt.Unload();
    }
  }
  shared.ForceCountdown = 0;
  prompt.TimerForce.SetEnabled(false);

  windows.EnableWindow(target, true);
  windows.ClipCursor(nullptr);

  if (!shared.PasswordAccepted) {
    // The desktop itself must never be asked to close.
    if (title == kProgramManager) return;
    windows.PostMessageA(target, WM_CLOSE_, 0, 0);
    WaitForTimeDelay(kCloseWait);
  } else if (shared.AllUnlocked) {
    windows.ShowWindowAsync(target, SW_RESTORE_);
    timTarnwick.SetEnabled(false);
  } else {
    List2.AddItem(key);
    windows.ShowWindowAsync(target, SW_RESTORE_);
  }
}

void frmMain::SetMousePos() {
  Point point = kCursorOnPrompt;
  app_.platform.windows.ClientToScreen(app_.password.hWnd(), point);
  app_.platform.windows.SetCursorPos(point.x, point.y);
}

void frmMain::RestrictMouse() {
  frmPassword& prompt = app_.password;
  Point origin{0, 0};
  app_.platform.windows.ClientToScreen(prompt.hWnd(), origin);
  const Rect area{origin.x, origin.y, origin.x + prompt.ScaleWidth(),
                  origin.y + prompt.ScaleHeight()};
  app_.platform.windows.ClipCursor(&area);
}

}  // namespace pw
