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

bool SameRect(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

void frmMain::StopWindow() {
  Shared& shared = app_.shared;
  WindowSystem& windows = app_.platform.windows;
  frmPassword& prompt = app_.password;
  // A change stored just before (new passwords from the setup window) is taken in before the
  // prompt asks; one arriving while it asks waits until the answer has been acted on.
  // The scan stays as the caller set it: a tray action turns it off while it asks.
  if (shared.ReloadPending) {
    const bool scanning = timTarnwick.Enabled();
    ReloadSettings();
    timTarnwick.SetEnabled(scanning);
  }
  shared.PasswordAccepted = false;
  shared.WrongAnswers = 0;
  timedOut_ = false;
  const bool wasAllUnlocked = shared.AllUnlocked;
  // A tray action served while we wait sets the monitor's target to no window; this stop action
  // still acts on the window it froze, or that window would stay frozen for good.
  const Hwnd target = TargetWindow;
  const std::string title = TargetTitle;
  // No early scan while a page's prompt waits; the look between ticks resumes after the
  // outermost stop action.
  ++stopDepth_;
  if (target != 0) timEarlyScan.SetEnabled(false);
  struct Done {
    frmMain& m;
    ~Done() {
      if (--m.stopDepth_ == 0 && m.timTarnwick.Enabled()) m.timEarlyScan.SetEnabled(true);
    }
  } done{*this};

  const std::string key = KeyOf(target, title);
  if (Exempt(target, key)) return;

  // A window that has stopped answering would hold us with it in EnableWindow, and with us the
  // tray, the timers and every other window. It is left for now; the scan stops it once it
  // answers and is in front again.
  if (target != 0 && !windows.Answers(target)) return;

  windows.EnableWindow(target, false);
  // A tray menu left open under this tick goes: the prompt needs the user's keyboard and mouse.
  if (target != 0) ClosePopupMenu();
  // The page stays out of sight until the verdict, closed or not; a nested tray action leaves
  // the cover to the stop action that put it up.
  struct Uncover {
    frmCover* cover;
    ~Uncover() {
      if (cover != nullptr) cover->CoverWindow(0);
    }
  } uncover{nullptr};
  if (!NoPasswordPrompt) {
    prompt.SetCaption(kPromptCaptionPrefix + title);
    prompt.Show();
    if (target != 0) {
      app_.cover.CoverWindow(target);
      uncover.cover = &app_.cover;
    }
    Input& input = app_.platform.input;
    input.SendDownArrowAndWait();
    // Waiting for the keystroke handles the input queued before it, so a quick answer may have
    // closed the prompt already. Holding the cursor on it or starting its force timer would then
    // load it again and bring it back, unasked, to a user who has answered.
    if (PromptShown()) {
      // The keyboard stays with a page's prompt; a tray action's prompt may be left, and the
      // scan then stops what the user switched to.
      struct Release {
        Input* input;
        ~Release() {
          if (input != nullptr) input->HoldSwitchKeys(false);
        }
      } release{target != 0 ? &input : nullptr};
      if (target != 0) input.HoldSwitchKeys(true);
      WaitForPrompt();
    }
  }
  // The window and the cursor are let go before the closed prompt is referred to again: that
  // loads it anew, and making its window takes a while on some systems.
  shared.ForceCountdown = 0;
  windows.EnableWindow(target, true);
  windows.ClipCursor(nullptr);
  prompt.TimerForce.SetEnabled(false);
  if (!wasAllUnlocked && shared.AllUnlocked)
    app_.keeper.Report(history::EntryOf(history::Kind::UnlockAll));
  if (target != 0) ReportStop(target);

  if (!shared.PasswordAccepted) {
    // The desktop itself must never be asked to close.
    if (title == kProgramManager) return;
    windows.PostMessageA(target, WM_CLOSE_, 0, 0);
    // A tray action's prompt cancelled for a page in front has nothing to close; that page is
    // stopped as soon as the action returns.
    if (target == 0 && offenderInFront_) return;
    WaitForTimeDelay(kCloseWait);
  } else if (shared.AllUnlocked) {
    windows.ShowWindowAsync(target, SW_RESTORE_);
    timTarnwick.SetEnabled(false);
  } else {
    List2.AddItem(key);
    windows.ShowWindowAsync(target, SW_RESTORE_);
  }
}

std::string frmMain::KeyOf(Hwnd window, const std::string& title) {
  // A class name exempts every window of that class; dialogs all share one class, so a dialog
  // is known by its title instead.
  std::string key;
  if (window == 0) return key;
  std::array<char, 300> buffer;
  buffer.fill(' ');
  const int length = app_.platform.windows.GetClassNameA(window, buffer.data(), 299);
  key.assign(buffer.data(), static_cast<std::size_t>(std::clamp(length, 0, 299)));
  if (key == kDialogClass) key = title;
  return key;
}

bool frmMain::Exempt(Hwnd window, const std::string& key) {
  const int exempt = List2.ListCount();
  for (int i = 0; i < exempt; ++i) {
    if (List2.List(i) == key && window != 0) return true;
  }
  return false;
}

void frmMain::WaitForPrompt() {
  Shared& shared = app_.shared;
  frmPassword& prompt = app_.password;
  SetMousePos();
  RestrictMouse();
  prompt.TimerForce.SetEnabled(true);
  if (shared.TimeDelay <= 0) {
    do {
      app_.platform.toolkit.DoEvents();
      RestrictMouse();
    } while (PromptShown());
  } else {
    shared.ForceCountdown = shared.TimeDelay;
    do {
      app_.platform.toolkit.DoEvents();
      RestrictMouse();
    } while (PromptShown() && shared.ForceCountdown != 0);
    // Out of time: the prompt goes unanswered, so the window is refused below.
    if (PromptShown()) {
      timedOut_ = true;
      prompt.Unload();
    }
  }
}

void frmMain::ReportStop(Hwnd target) {
  const Shared& shared = app_.shared;
  history::Entry entry = history::EntryOf(history::Kind::Stop);
  if (NoPasswordPrompt) {
    entry.outcome = history::Outcome::ClosedWithoutPrompt;
  } else if (shared.PasswordAccepted) {
    entry.outcome = history::Outcome::Allowed;
  } else if (timedOut_) {
    entry.outcome = history::Outcome::TimedOut;
  } else if (shared.WrongAnswers > 0) {
    entry.outcome = history::Outcome::Refused;
  } else {
    entry.outcome = history::Outcome::Unanswered;
  }
  entry.wrongAnswers = static_cast<std::uint32_t>(shared.WrongAnswers);
  WindowSystem& windows = app_.platform.windows;
  entry.program = windows.ProgramNameOf(windows.ProcessOf(target));
  entry.title = StopTitle;
  entry.word = StopWord;
  app_.keeper.Report(entry);
}

bool frmMain::PromptShown() {
  // A closed prompt stays unloaded here; asking it whether it is visible would load it.
  frmPassword& prompt = app_.password;
  return prompt.Loaded() && prompt.Visible();
}

void frmMain::SetMousePos() {
  Point point = kCursorOnPrompt;
  app_.platform.windows.ClientToScreen(app_.password.hWnd(), point);
  app_.platform.windows.SetCursorPos(point.x, point.y);
}

void frmMain::RestrictMouse() {
  WindowSystem& windows = app_.platform.windows;
  frmPassword& prompt = app_.password;
  // Nothing to hold the cursor on once the prompt has closed; the clip is freed right after.
  if (!PromptShown()) return;
  Point origin{0, 0};
  windows.ClientToScreen(prompt.hWnd(), origin);
  const Rect area{origin.x, origin.y, origin.x + prompt.ScaleWidth(),
                  origin.y + prompt.ScaleHeight()};
  // Setting the clip wakes the wait loop on some systems, so a pass that finds the clip as the
  // last one left it sets nothing: otherwise each pass would cause the next. A clip that someone
  // else freed or moved is set again.
  Rect now;
  if (clipSet_ && SameRect(area, clipAsked_) && windows.GetClipCursor(now) &&
      SameRect(now, clipGot_)) {
    return;
  }
  windows.ClipCursor(&area);
  clipAsked_ = area;
  clipSet_ = windows.GetClipCursor(clipGot_);
}

}  // namespace pw
