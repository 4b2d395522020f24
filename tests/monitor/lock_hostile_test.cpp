#include <gtest/gtest.h>

#include "tests/monitor/lock_rig.h"

namespace pw {
namespace {

using test::kCasinoTitle;
using test::LockRig;

TEST(LockHostileTest, OnlyTheFirst254TitleCharactersAreRead) {
  LockRig r;
  r.StartLocked();
  auto titleWithWordAt = [](std::size_t at) {
    std::string title = "Internet Explorer ";
    title.resize(at, '.');
    title += "casino";
    title.resize(300, '.');
    return title;
  };
  const Hwnd cut = r.Open(titleWithWordAt(249));  // its last letter is the 255th character
  r.machine.world.RunFor(1000);
  EXPECT_EQ(r.Prompts(), 0);
  EXPECT_TRUE(r.Win(cut).enabled);
  EXPECT_EQ(r.a.app.main.TargetTitle, titleWithWordAt(249).substr(0, 40));

  r.OpenAndScan(titleWithWordAt(248));
  EXPECT_EQ(r.Prompts(), 1);
}

TEST(LockHostileTest, AccentedCapitalsAreLowered) {
  LockRig r;
  r.Word(0,
         "\xC3\x89"
         "COLE");  // ÉCOLE
  r.a.Start();
  r.OpenAndScan(
      "\xC3\x89"
      "COLE PRIV\xC3\x89"
      "E - INTERNET EXPLORER");
  EXPECT_TRUE(r.PromptUp());
}

TEST(LockHostileTest, EmptyWordMatchesEveryBrowserTitleButNotAnEmptyOne) {
  LockRig r;
  test::StoreWord(r.machine.registry, 0, ",1");
  r.a.Start();
  const Hwnd untitled = r.Open("");
  r.machine.world.RunFor(1000);
  EXPECT_EQ(r.Prompts(), 0);
  EXPECT_TRUE(r.Win(untitled).enabled);
  r.OpenAndScan("Start page - Internet Explorer");
  EXPECT_TRUE(r.PromptUp());
}

TEST(LockHostileTest, AnInvisibleForegroundWindowIsSkippedAndKeepsTheLastTitle) {
  LockRig r;
  r.StartLocked();
  r.OpenAndScan("Start page - Internet Explorer");
  const Hwnd hidden = r.machine.desktop.CreateWindow("IEFrame", kCasinoTitle, 0, false);
  r.machine.desktop.BringToFront(hidden);
  r.machine.world.RunFor(1000);
  EXPECT_EQ(r.Prompts(), 0);
  EXPECT_EQ(r.a.app.main.TargetTitle, "Start page - Internet Explorer");
}

TEST(LockHostileTest, HungWindowIsLeftUntilItAnswersAndHoldsNothingElseUp) {
  LockRig r;
  r.StartLocked();
  const Hwnd hung = r.Open(kCasinoTitle);
  r.Win(hung).hung = true;
  r.machine.world.RunFor(2000);
  EXPECT_EQ(r.Prompts(), 0);
  EXPECT_TRUE(r.Win(hung).enabled);

  // Another locked window is stopped at once, and the tray's setup prompt still comes.
  const Hwnd other = r.OpenAndScan("Casino Night - Internet Explorer");
  ASSERT_TRUE(r.PromptUp());
  EXPECT_FALSE(r.Win(other).enabled);
  r.PressOK();
  r.machine.world.RunFor(500);
  EXPECT_FALSE(r.Exists(other));
  r.machine.desktop.BringToFront(hung);
  r.OpenSetupPrompt();
  EXPECT_TRUE(r.PromptUp());
  r.a.Do([&] { r.prompt().Command1.Press(); });
  r.machine.world.RunFor(1000);
  EXPECT_EQ(r.Prompts(), 2);
  EXPECT_EQ(r.Win(hung).waitedOn, 0);

  // Answering again, in front: stopped as any window is.
  r.Win(hung).hung = false;
  r.Tick();
  EXPECT_TRUE(r.Held(hung));
  EXPECT_EQ(r.Prompts(), 3);
}

// The window system of one copy, where a chosen window is destroyed just as it is read.
class VanishingWindows : public sim::SimWindowSystem {
 public:
  explicit VanishingWindows(sim::SimDesktop& desktop) : SimWindowSystem(desktop), d_(desktop) {}

  Hwnd vanishAtTitle = 0;
  Hwnd vanishAtClass = 0;

  int GetWindowTextA(Hwnd window, char* buffer, int maxCount) override {
    if (window == vanishAtTitle) d_.DestroyWindow(window);
    return SimWindowSystem::GetWindowTextA(window, buffer, maxCount);
  }
  int GetClassNameA(Hwnd window, char* buffer, int maxCount) override {
    if (window == vanishAtClass) d_.DestroyWindow(window);
    return SimWindowSystem::GetClassNameA(window, buffer, maxCount);
  }

 private:
  sim::SimDesktop& d_;
};

TEST(LockHostileTest, WindowThatVanishesBetweenTheCallsIsHandledQuietly) {
  sim::SimMachine machine;
  test::StoreWord(machine.registry, 0, "casino,1");
  test::SimAppWith<VanishingWindows> v(machine);
  v.Start();

  // Gone before its title is read: an empty title, no match.
  v.windows.vanishAtTitle = machine.desktop.OpenWindow("IEFrame", kCasinoTitle);
  machine.world.RunFor(test::kTick);
  EXPECT_TRUE(machine.keystrokes.empty());
  EXPECT_EQ(v.app.main.TargetTitle, "");

  // Gone before its class is read: the prompt still comes, and refusing it closes nothing.
  v.windows.vanishAtClass = machine.desktop.OpenWindow("IEFrame", kCasinoTitle);
  machine.world.RunFor(test::kTick);
  ASSERT_EQ(machine.keystrokes.size(), 1u);
  v.Do([&] { v.app.password.Command1.Press(); });
  machine.world.RunFor(500);
  EXPECT_EQ(v.app.main.List2.ListCount(), 0);
  EXPECT_FALSE(machine.desktop.clip.has_value());

  // The monitor carries on.
  machine.desktop.OpenWindow("IEFrame", kCasinoTitle);
  machine.world.RunFor(test::kTick);
  EXPECT_EQ(machine.keystrokes.size(), 2u);
}

}  // namespace
}  // namespace pw
