// What the guarded user may try while a prompt waits: leave a tray prompt open and browse on,
// look at the locked page past its prompt, or switch away by keyboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/monitor/lock_rig.h"

namespace pw {
namespace {

using test::kCasinoTitle;
using test::LockRig;

constexpr KeyPress kAltTab{VK_TAB_, true, false};

// Place in the z-order, front first; -1 when not on the desktop.
long Depth(LockRig& r, Hwnd window) {
  const auto all = r.machine.desktop.Windows();
  const auto at = std::find_if(all.begin(), all.end(),
                               [window](const sim::SimWindow* w) { return w->handle == window; });
  return at == all.end() ? -1 : at - all.begin();
}

bool SameRect(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(HeldPromptTest, ATrayPromptLeftOpenGivesWayToALockedPageWhichIsStopped) {
  const std::pair<const char*, std::function<void(LockRig&)>> actions[] = {
      {"Configure", [](LockRig& r) { r.OpenSetupPrompt(); }},
      {"Unlock All", [](LockRig& r) { r.OpenUnlockAll(); }},
  };
  for (const auto& [name, open] : actions) {
    SCOPED_TRACE(name);
    LockRig r;
    r.StartLocked({{"UserPassword2", "admin"}});
    const Hwnd page = r.Open(kCasinoTitle);
    r.Open("Notes - Notepad", "Notepad");
    r.Tick();
    open(r);
    ASSERT_TRUE(r.PromptUp());
    // The user leaves the prompt waiting and goes back to the page by keyboard.
    ASSERT_TRUE(r.machine.desktop.PressKey(kAltTab));
    ASSERT_NE(r.machine.desktop.Foreground(), r.PromptWindow()->handle);
    r.a.Do([&] { r.machine.desktop.BringToFront(page); });
    ASSERT_NE(r.FrozenBy(page, r.machine.world.Now() + 2 * test::kTick), -1);
    EXPECT_TRUE(r.PromptUp());
    EXPECT_EQ(r.prompt().Caption(), "Webkeeper: Casino Royale - Microsoft Internet Explo");
    EXPECT_FALSE(r.a.app.shared.SetupRequested);
    EXPECT_FALSE(r.SetupOpen());
    // The page's own prompt, answered as ever.
    r.Answer("secret");
    EXPECT_TRUE(r.Win(page).enabled);
    EXPECT_EQ(r.trayReturns, 1);
    EXPECT_FALSE(r.a.app.shared.AllUnlocked);
    EXPECT_TRUE(r.a.app.main.timTarnwick.Enabled());
  }
}

TEST(HeldPromptTest, AnsweredTrayPromptsAndExemptPagesAreLeftAlone) {
  LockRig r;
  r.StartLocked({{"UserPassword2", "admin"}});
  const Hwnd page = r.OpenAndScan("casino - Internet Explorer");
  r.Answer("secret");
  ASSERT_TRUE(r.Win(page).enabled);
  // The setup prompt's caption names the page, browser and word; then the user looks at the
  // exempt page while the prompt waits.
  r.OpenSetupPrompt();
  ASSERT_EQ(r.prompt().Caption(), "Webkeeper: casino - Internet Explorer");
  r.machine.world.RunFor(2000);
  r.a.Do([&] { r.machine.desktop.BringToFront(page); });
  r.machine.world.RunFor(2000);
  ASSERT_TRUE(r.PromptUp());
  EXPECT_TRUE(r.a.app.shared.SetupRequested);
  r.Answer("admin");
  EXPECT_TRUE(r.SetupOpen());
}

TEST(HeldPromptTest, TheCoverHidesTheFrozenPageBehindItsPromptUntilTheVerdict) {
  for (const char* answer : {"secret", "wrong"}) {
    SCOPED_TRACE(answer);
    LockRig r;
    r.StartLocked();
    const Hwnd page = r.OpenAndScan(kCasinoTitle);
    ASSERT_TRUE(r.PromptUp());
    frmCover& cover = r.a.app.cover;
    ASSERT_TRUE(test::Shown(cover));
    const Hwnd shield = cover.hWnd();
    EXPECT_TRUE(SameRect(r.Win(shield).bounds, r.Win(page).bounds));
    const long prompt = Depth(r, r.PromptWindow()->handle);
    EXPECT_EQ(Depth(r, shield), prompt + 1) << "right behind the prompt";
    EXPECT_LT(Depth(r, shield), Depth(r, page));
    EXPECT_EQ(r.machine.desktop.Foreground(), r.PromptWindow()->handle);

    // The prompt raises itself into the topmost layer; another program moves, sizes and raises
    // the page into it too: the cover follows.
    r.machine.world.RunFor(1000);
    EXPECT_EQ(Depth(r, shield), Depth(r, r.PromptWindow()->handle) + 1);
    r.machine.desktop.SetBounds(page, {40, 30, 900, 700});
    r.Win(page).topmost = true;
    r.machine.desktop.PlaceBehind(page, 0);
    r.machine.world.RunFor(test::kTick);
    EXPECT_TRUE(SameRect(r.Win(shield).bounds, {40, 30, 900, 700}));
    EXPECT_EQ(Depth(r, r.PromptWindow()->handle), 0);
    EXPECT_EQ(Depth(r, shield), 1);
    EXPECT_EQ(Depth(r, page), 2);

    r.Answer(answer);
    if (std::string(answer) == "wrong") {
      EXPECT_TRUE(test::Shown(cover)) << "a wrong answer is no verdict";
      r.a.Do([&] { r.prompt().Command1.Press(); });
      r.machine.world.RunFor(600);
      EXPECT_FALSE(r.Exists(page));
    } else {
      EXPECT_TRUE(r.Exists(page));
    }
    EXPECT_FALSE(r.machine.desktop.Exists(shield));
  }
}

TEST(HeldPromptTest, SwitchingKeysAreSwallowedOnlyWhileAPagesPromptWaits) {
  LockRig r;
  r.StartLocked({{"UserPassword2", "admin"}});
  r.Open("Notes - Notepad", "Notepad");
  const Hwnd page = r.OpenAndScan(kCasinoTitle);
  ASSERT_TRUE(r.PromptUp());
  sim::SimDesktop& desktop = r.machine.desktop;
  EXPECT_EQ(desktop.switchKeyHolds, 1);
  for (const KeyPress key :
       {kAltTab, KeyPress{VK_ESCAPE_, true, false}, KeyPress{VK_ESCAPE_, false, true},
        KeyPress{VK_LWIN_, false, false}, KeyPress{VK_RWIN_, false, true}}) {
    EXPECT_FALSE(desktop.PressKey(key)) << key.virtualKey << " alt " << key.alt;
  }
  EXPECT_EQ(desktop.Foreground(), r.PromptWindow()->handle);
  // Esc answers the prompt, Tab moves between its controls, Alt+F4 and letters reach it.
  for (const KeyPress key : {KeyPress{VK_ESCAPE_, false, false}, KeyPress{VK_TAB_, false, false},
                             KeyPress{0x73, true, false}, KeyPress{'A', false, true}}) {
    EXPECT_TRUE(desktop.PressKey(key)) << key.virtualKey;
  }

  r.Answer("secret");
  EXPECT_EQ(desktop.switchKeyHolders, 0) << "removed at once with the verdict";
  EXPECT_TRUE(r.Win(page).enabled);
  // A tray prompt holds no key: the user may leave it.
  r.OpenSetupPrompt();
  ASSERT_TRUE(r.PromptUp());
  EXPECT_EQ(desktop.switchKeyHolders, 0);
  EXPECT_TRUE(desktop.PressKey(kAltTab));
  EXPECT_EQ(desktop.switchKeyHolds, 1);
}

TEST(HeldPromptTest, ATrayMenuLeftOpenNeverHoldsTheScan) {
  LockRig r;
  r.StartLocked({{"TimeDelay", "5"}});
  auto rightClick = [&] {
    r.machine.shell.ClickIcon(r.a.app.main.hWnd(), test::kTrayIconId, test::kRightButtonUp);
    r.machine.world.RunFor(0);
  };
  const Hwnd first = r.OpenAndScan(kCasinoTitle);
  // Clicked while the scan tick waits on its close request, the menu comes once it has returned.
  r.a.Do([&] { r.prompt().Command1.Press(); });
  rightClick();
  EXPECT_TRUE(r.a.host.popupsShown.empty());
  r.machine.world.RunFor(700);
  EXPECT_FALSE(r.Exists(first));
  ASSERT_TRUE(r.a.host.popup) << "open at last, and left open";
  const Hwnd second = r.Open("Casino night - Microsoft Internet Explorer", "Second");
  ASSERT_NE(r.FrozenBy(second, r.machine.world.Now() + 2 * test::kTick), -1);

  r.Answer("secret");
  EXPECT_FALSE(r.a.host.popup) << "the stop closed the menu";

  // Opened over a page's prompt, the menu goes with the prompt's time limit: the scan is back.
  const Hwnd third = r.OpenAndScan("Casino club - Microsoft Internet Explorer", "Third");
  ASSERT_TRUE(r.PromptUp());
  rightClick();
  ASSERT_TRUE(r.a.host.popup);
  r.machine.world.RunFor(6000);
  EXPECT_FALSE(r.a.host.popup);
  EXPECT_FALSE(r.Exists(third));
  const Hwnd fourth = r.Open("Casino bar - Microsoft Internet Explorer", "Fourth");
  EXPECT_NE(r.FrozenBy(fourth, r.machine.world.Now() + 2 * test::kTick), -1);
}

}  // namespace
}  // namespace pw
