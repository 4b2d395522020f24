#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/app.h"
#include "base/text.h"
#include "monitor/frm_main.h"
#include "platform/forms/view.h"

namespace pw {

namespace {

// Room for 254 characters of UTF-8, of up to four bytes each.
constexpr int kTitleBuffer = 1024;
constexpr std::size_t kTitleLength = 254;
constexpr std::size_t kTargetTitleLength = 40;

bool Contains(std::string_view text, std::string_view part) {
  // Nothing is found in an empty title, not even an empty word.
  return !text.empty() && text.find(part) != std::string_view::npos;
}

}  // namespace

void frmMain::timTarnwick_Timer() {
  WindowSystem& windows = app_.platform.windows;
  // The look between ticks sleeps while the scan is off; the first tick after wakes it.
  if (!timEarlyScan.Enabled()) timEarlyScan.SetEnabled(true);

  // An exemption lasts while a window with that class (or dialog title) exists. A removal moves
  // the next entry into the freed place, which the next tick examines.
  const int exempt = List2.ListCount();
  for (int i = 0; i < exempt && i < List2.ListCount(); ++i) {
    const std::string key = List2.List(i);
    if (windows.FindWindowA(key.c_str(), nullptr) != 0) continue;
    if (windows.FindWindowA(nullptr, key.c_str()) != 0) continue;
    List2.RemoveItem(i);
  }

  // A look that found nothing changed in front at this very moment read what this tick would;
  // under Wine each read is a round trip to its server. Visibility is the tick's own to read.
  // A page found while a tray action's prompt waited is judged again now, wherever the front went
  // as that prompt closed.
  const Hwnd pinned = std::exchange(offender_, 0);
  if (std::exchange(confirmedAt_, std::nullopt) != Tk().Now() || pinned != 0) {
    seen_.window = pinned != 0 ? pinned : windows.GetForegroundWindow();
    seen_.length =
        std::clamp(windows.GetWindowTextA(seen_.window, seen_.title.data(), kTitleBuffer), 0,
                   kTitleBuffer - 1);
  }
  TargetWindow = seen_.window;
  seen_.visible = windows.IsWindowVisible(TargetWindow);
  const std::string title = LeftChars(
      std::string_view(seen_.title.data(), static_cast<std::size_t>(seen_.length)), kTitleLength);
  if (!seen_.visible) return;
  TargetTitle = LeftChars(title, kTargetTitleLength);

  const int words = List1.ListCount();
  if (words == 0) return;
  // Brought to the form a reader sees once for all words (which are kept in that form); the
  // browser fragment stays in that form from now on.
  TextRules& text = app_.platform.text;
  const std::string form = text.ReaderForm(title);
  Shared& shared = app_.shared;
  if (shared.BrowserTitle != browserForm_) {
    browserForm_ = text.ReaderForm(shared.BrowserTitle);
    shared.BrowserTitle = browserForm_;
  }
  // The title names the browser, or the window belongs to one (asked only when the title does
  // not tell).
  if (!Contains(form, shared.BrowserTitle) &&
      !(WatchEveryBrowser && browsers_.Owns(windows, TargetWindow))) {
    return;
  }
  for (int i = 0; i < words; ++i) {
    if (Contains(form, List1.List(i))) {
      StopTitle = title;
      StopWord = List1.List(i);
      // The tick is quiet while it only looks; what follows may enter a loop of the system's.
      Tk().BeforeHandler();
      // This tick runs inside a stop action only when a tray action's prompt waits.
      if (stopDepth_ > 0) {
        StopAfterPrompt();
      } else {
        StopWindow();
      }
      return;
    }
  }
}

void frmMain::StopAfterPrompt() {
  // The prompt's own caption repeats the title the scan saw last, which may be a locked page's.
  const std::string key = KeyOf(TargetWindow, TargetTitle);
  if (key == forms::kFormClassName || Exempt(TargetWindow, key)) return;
  // As if the user cancelled it: a prompt left open must not leave the page usable meanwhile.
  offenderInFront_ = true;
  offender_ = TargetWindow;
  if (PromptShown()) app_.password.Command1_Click();
  // A tray menu opened over that prompt would keep the action from returning.
  if (menuOverWait_) ClosePopupMenu();
}

void frmMain::StopPageFoundMeanwhile() {
  // Due at the next pass of the pump, once the tray action has left the stack.
  if (std::exchange(offenderInFront_, false)) timTarnwick.Hurry();
}

void frmMain::timEarlyScan_Timer() {
  // Sleeps while the scan is off, so a suspended monitor is not woken 50 times a second.
  if (!timTarnwick.Enabled()) {
    timEarlyScan.SetEnabled(false);
    return;
  }
  // Never inside a scan tick, which may be waiting further down the stack. While a tray action's
  // prompt waits, the look goes on: that prompt takes the front back within a second, so a page
  // the user switched to is found at once or not at all.
  if (timTarnwick.Running()) return;
  if (!FrontChanged()) {
    confirmedAt_ = Tk().Now();
    return;
  }
  confirmedAt_.reset();
  timTarnwick.TickNow();
}

bool frmMain::FrontChanged() {
  WindowSystem& windows = app_.platform.windows;
  const Hwnd front = windows.GetForegroundWindow();
  if (front != seen_.window) return true;
  if (front == 0) return false;
  // For another program's window this reads the title the system keeps; nothing is sent.
  std::array<char, kTitleBuffer> buffer;
  const int length =
      std::clamp(windows.GetWindowTextA(front, buffer.data(), kTitleBuffer), 0, kTitleBuffer - 1);
  if (length != seen_.length ||
      !std::equal(buffer.begin(), buffer.begin() + length, seen_.title.begin())) {
    return true;
  }
  // A window the scan passed over while hidden is looked at again once it shows.
  return !seen_.visible && windows.IsWindowVisible(front);
}

}  // namespace pw
