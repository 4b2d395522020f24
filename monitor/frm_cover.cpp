#include "monitor/frm_cover.h"

#include "app/app.h"

namespace pw {

namespace {

constexpr int kFollowPeriod = 250;

bool SameRect(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

frmCover::frmCover(App& app)
    : Form(app.platform.toolkit, "frmCover",
           {// Not "Pagewarden": that caption marks a running guard for a second copy.
            .caption = "Locked page",
            .border = forms::BorderStyle::None,
            .controlBox = false,
            // The prompt in front keeps the keyboard.
            .centerOnScreen = false,
            .activates = false,
            .backColor = forms::kColorWindow}),
      Label1(*this, "Label1", kLocked, {240, 240, 6000, 285}),
      timFollow(*this, "timFollow", kFollowPeriod, true),
      app_(app) {
  Label1.design.foreColor = forms::kColorWindowText;
  Label1.design.transparent = true;
  timFollow.onTimer = [this] { timFollow_Timer(); };
}

void frmCover::CoverWindow(Hwnd window) {
  covered_ = window;
  if (window == 0) {
    Unload();
    return;
  }
  placed_ = {};
  Show();
  Follow();
}

void frmCover::timFollow_Timer() {
  Follow();
}

void frmCover::Follow() {
  WindowSystem& windows = app_.platform.windows;
  Rect now;
  // A window gone takes nothing with it to hide; the cover stays until the verdict.
  if (covered_ == 0 || !windows.GetWindowRect(covered_, now)) return;
  frmPassword& prompt = app_.password;
  const bool prompting = prompt.Loaded() && prompt.Visible();
  const bool moved = !SameRect(now, placed_);
  if (!moved && !prompting) return;
  std::uint32_t flags = SWP_NOACTIVATE_;
  if (!moved) flags |= SWP_NOMOVE_ | SWP_NOSIZE_;
  // Placed again behind the prompt every time: the prompt raises itself into the topmost layer
  // every second, and another program may raise the covered window, even into that layer; the
  // prompt then goes back in front of all first. Without a prompt, the cover stays in the
  // topmost layer, above a page that is there too.
  if (prompting) {
    windows.SetWindowPos(prompt.hWnd(), HWND_TOPMOST_, 0, 0, 0, 0, SWP_NOSIZE_NOMOVE_NOACTIVATE);
  }
  windows.SetWindowPos(hWnd(), prompting ? prompt.hWnd() : HWND_TOPMOST_, now.left, now.top,
                       now.right - now.left, now.bottom - now.top, flags);
  placed_ = now;
}

}  // namespace pw
