#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "app/app.h"
#include "app/text.h"
#include "monitor/frm_main.h"

namespace pw {

namespace {

constexpr int kTitleBuffer = 256;
constexpr int kTitleMaxCount = 255;  // with the terminating zero: 254 characters at most
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

  TargetWindow = windows.GetForegroundWindow();
  const bool visible = windows.IsWindowVisible(TargetWindow);
  std::array<char, kTitleBuffer> buffer{};
  const int length = windows.GetWindowTextA(TargetWindow, buffer.data(), kTitleMaxCount);
  const int kept = std::clamp(length, 0, kTitleMaxCount - 1);
  const std::string title(buffer.data(), static_cast<std::size_t>(kept));
  seen_.window = TargetWindow;
  seen_.visible = visible;
  seen_.length = kept;
  seen_.title = buffer;
  if (!visible) return;
  TargetTitle = LeftAnsi(title, kTargetTitleLength);

  const int words = List1.ListCount();
  if (words == 0) return;
  // Lowered once for all words; the browser fragment stays lowered from now on.
  const std::string lowered = LowerAnsi(title);
  Shared& shared = app_.shared;
  shared.BrowserTitle = LowerAnsi(shared.BrowserTitle);
  if (!Contains(lowered, shared.BrowserTitle)) return;
  for (int i = 0; i < words; ++i) {
    if (Contains(lowered, List1.List(i))) {
      StopWindow();
      return;
    }
  }
}

void frmMain::timEarlyScan_Timer() {
  // Sleeps while the scan is off, so a suspended monitor is not woken 50 times a second.
  if (!timTarnwick.Enabled()) {
    timEarlyScan.SetEnabled(false);
    return;
  }
  // Never inside a scan tick or a stop action: either may be waiting further down the stack.
  if (timTarnwick.Running() || stopDepth_ > 0) return;
  if (FrontChanged()) timTarnwick.TickNow();
}

bool frmMain::FrontChanged() {
  WindowSystem& windows = app_.platform.windows;
  const Hwnd front = windows.GetForegroundWindow();
  if (front != seen_.window) return true;
  if (front == 0) return false;
  // For another program's window this reads the title the system keeps; nothing is sent.
  std::array<char, kTitleBuffer> buffer;
  const int length = std::clamp(windows.GetWindowTextA(front, buffer.data(), kTitleMaxCount), 0,
                                kTitleMaxCount - 1);
  if (length != seen_.length ||
      !std::equal(buffer.begin(), buffer.begin() + length, seen_.title.begin())) {
    return true;
  }
  // A window the scan passed over while hidden is looked at again once it shows.
  return !seen_.visible && windows.IsWindowVisible(front);
}

void frmMain::Timer1_Timer() {
  // A second copy of the program asks for the setup by showing its about box under this caption
  // for about a second; an installer or any other program's window with that caption asks for
  // nothing. Each request is served once: answering the prompt within that second must not bring
  // the prompt back for the same window.
  const Hwnd request = app_.platform.windows.FindWindowA(forms::kFormClassName, "Pagewarden Setup");
  if (request == 0) {
    servedSetupRequest_ = 0;
  } else if (request != servedSetupRequest_) {
    servedSetupRequest_ = request;
    mnuTWKSetup_Click();
  }

  Shared& shared = app_.shared;
  // A settings key created since the last reload has not been watched: its values are news.
  if (watch_.KeyAppeared()) shared.ReloadPending = true;
  // A reload forgets the password just accepted; inside a stop action it would refuse the
  // window its prompt has let live. The stop action serves one already due before it asks.
  if (!shared.ReloadPending || stopDepth_ > 0) return;
  ReloadSettings();
}

void frmMain::ReloadSettings() {
  Shared& shared = app_.shared;
  shared.ReloadPending = false;
  shared.PasswordAccepted = false;
  shared.AllUnlocked = false;
  // What changes from here on is seen by the next reload; what changed before, by this one.
  watch_.Restart();
  GetWindows();
  GetSettings();
  mnuDeactivate.SetEnabled(true);
  mnuReactivate.SetEnabled(false);
  mnuLockAllWindows2.SetEnabled(false);
  timTarnwick.SetEnabled(true);
}

}  // namespace pw
