#include <gtest/gtest.h>

#include "tests/monitor/lock_rig.h"

namespace pw::test {
namespace {

constexpr const char* kChromeClass = "Chrome_WidgetWin_1";

// A window of a browser program counts as a browser whatever its title says.
TEST(BrowserProgramsTest, ABrowserProgramsWindowIsLockedByItsProgramAlone) {
  LockRig r;
  r.StartLocked();  // nothing stored of the switch: it is on
  auto& desktop = r.machine.desktop;
  const int notepad = desktop.StartProcess("notepad.exe");
  const int elevated = desktop.StartProcess("msedge.exe", 0, false);  // cannot be opened
  const int edge = desktop.StartProcess("MSEDGE.EXE");

  const Hwnd note = desktop.OpenWindow("Notepad", "Casino Royale", notepad);
  r.Tick();
  const Hwnd closed = desktop.OpenWindow(kChromeClass, "Casino Royale", elevated);
  r.Tick();
  EXPECT_TRUE(r.LetThrough(note));
  EXPECT_TRUE(r.Win(closed).enabled);

  const Hwnd app = desktop.OpenWindow(kChromeClass, "Casino Royale", edge);
  r.Tick();
  EXPECT_TRUE(r.Held(app));
}

TEST(BrowserProgramsTest, SwitchedOffOnlyTheTitleFragmentCounts) {
  LockRig r;
  r.StartLocked({{"WatchAllBrowsers", "0"}});
  const int firefox = r.machine.desktop.StartProcess("firefox.exe");
  r.machine.desktop.OpenWindow("MozillaWindowClass", "Casino Royale", firefox);
  r.Tick();
  EXPECT_FALSE(r.PromptUp());
  r.machine.desktop.OpenWindow("MozillaWindowClass", "Casino Royale - Internet Explorer", firefox);
  r.Tick();
  EXPECT_TRUE(r.PromptUp());
}

TEST(BrowserProgramsTest, EachProcessIsAskedAboutOnceEvenWhenItsNumberComesBack) {
  LockRig r;
  r.StartLocked();
  auto& desktop = r.machine.desktop;
  const int editor = desktop.StartProcess("notepad.exe");
  desktop.OpenWindow("Notepad", "casino.txt - Notepad", editor);
  for (int i = 0; i < 8; ++i) r.Tick();
  EXPECT_EQ(desktop.programLookups, 1);

  // The editor ends and a browser is given its number.
  desktop.EndProcess(editor);
  desktop.StartProcess("chrome.exe", editor);
  desktop.OpenWindow(kChromeClass, "casino", editor);
  r.Tick();
  EXPECT_EQ(desktop.programLookups, 2);
  EXPECT_TRUE(r.PromptUp());
}

}  // namespace
}  // namespace pw::test
