#include <gtest/gtest.h>

#include "tests/support/machine_test.h"
#include "tests/support/sim_app.h"

namespace pw {
namespace {

using test::kSettingsPath;
using test::kWindowsPath;
using test::SimApp;

class StartupTest : public test::MachineTest {
 protected:
  std::vector<std::string> Words(SimApp& a) {
    std::vector<std::string> words;
    for (int i = 0; i < a.app.main.List1.ListCount(); ++i)
      words.push_back(a.app.main.List1.List(i));
    return words;
  }
};

TEST_F(StartupTest, EmptyRegistryGivesDefaultsAndATrayIcon) {
  SimApp a(machine);
  a.Start();
  ASSERT_TRUE(a.Alive());
  const Shared& s = a.app.shared;
  EXPECT_TRUE(Words(a).empty());
  EXPECT_EQ(s.BrowserTitle, "Internet Explorer");
  EXPECT_EQ(s.UnlockPassword, "");
  EXPECT_EQ(s.SetupPassword, "");
  EXPECT_EQ(s.TimeDelay, 0);
  EXPECT_TRUE(s.UnlockAllAllowed);
  EXPECT_FALSE(a.app.main.NoPasswordPrompt);
  EXPECT_FALSE(a.app.main.HideMenuOn);
  EXPECT_EQ(s.AppFolder, "C:\\Program Files\\Pagewarden\\");

  // The hidden monitor carries the caption other copies look for.
  const Hwnd monitor = machine.desktop.FindWindow(nullptr, "Pagewarden");
  ASSERT_NE(monitor, 0u);
  EXPECT_EQ(monitor, a.app.main.hWnd());
  EXPECT_FALSE(machine.desktop.Find(monitor)->visible);
  ASSERT_EQ(machine.shell.icons.size(), 1u);
  const sim::TrayIcon& icon = machine.shell.icons.begin()->second;
  EXPECT_EQ(icon.window, monitor);
  EXPECT_EQ(icon.id, 1u);
  EXPECT_EQ(icon.tip, "Pagewarden ");
  EXPECT_EQ(icon.callbackMessage, 0x200u);
  EXPECT_NE(icon.icon, 0u);
  EXPECT_TRUE(a.app.main.timTarnwick.Enabled());
  EXPECT_TRUE(a.app.main.Timer1.Enabled());
  EXPECT_EQ(machine.registry.OpenHandleCount(), 0);
  EXPECT_FALSE(
      machine.registry.KeyExists(HKEY_LOCAL_MACHINE_, kSettingsPath));  // reading creates none
}

TEST_F(StartupTest, WordListTakesActiveEntriesLowerCasedInNumberOrderAcrossGaps) {
  PutWord(3, "casino,1");
  PutWord(4, "poker,0");
  PutWord(7, "News,1");
  PutWord(8, "1");  // a flag alone is no entry
  PutWord(9, "Teen Girls,1");
  PutWord(10, ",1");     // an empty word
  PutWord(11, "odd,2");  // no flag
  PutWord(12, "x;1");    // the character before the flag is not examined
  PutWord(13,
          "\xC3\x89"
          "COLE,1");  // ÉCOLE
  PutWord(999, "last,1");
  PutWord(1000, "beyond,1");
  machine.registry.PutDword(HKEY_LOCAL_MACHINE_, kWindowsPath, "Window14", 11);  // text "11"
  SimApp a(machine);
  a.Start();
  EXPECT_EQ(Words(a), (std::vector<std::string>{"casino", "news", "teen girls", "", "x",
                                                "\xC3\xA9"
                                                "cole",
                                                "", "last"}));
}

TEST_F(StartupTest, SettingsAreReadAsStoredAndOnlyExactlyOneSwitchesOn) {
  PutSetting("UserPassword", "abcdefghij");
  PutSetting("UserPassword2", "Setup");
  PutSetting("webbrowser", "Firefox");
  PutSetting("passwordprompt", "yes");
  PutSetting("HideMenu", "1");
  machine.registry.PutDword(HKEY_LOCAL_MACHINE_, kSettingsPath, "TimeDelay", 12);
  SimApp a(machine);
  a.Start();
  EXPECT_EQ(a.app.shared.UnlockPassword, "abcdefgh");
  EXPECT_EQ(a.app.shared.SetupPassword, "Setup");
  EXPECT_EQ(a.app.shared.BrowserTitle, "Firefox");
  EXPECT_FALSE(a.app.main.NoPasswordPrompt);
  EXPECT_TRUE(a.app.main.HideMenuOn);
  EXPECT_EQ(a.app.shared.TimeDelay, 12);
}

TEST_F(StartupTest, DisabledMenuRemovesTheIconAndAnEmptyBrowserTitleFallsBack) {
  PutSetting("disablemenu", "1");
  PutSetting("webbrowser", "");
  PutSetting("passwordprompt", "1");
  SimApp a(machine);
  a.Start();
  EXPECT_TRUE(machine.shell.icons.empty());
  EXPECT_EQ(a.app.shared.BrowserTitle, "Internet Explorer");
  EXPECT_TRUE(a.app.main.NoPasswordPrompt);
}

TEST_F(StartupTest, HostileStoredValuesGiveDefinedResults) {
  PutWord(0, std::string(1 << 20, 'a') + ",1");
  machine.registry.Put(HKEY_LOCAL_MACHINE_, kWindowsPath, "Window1", REG_SZ_,
                       {'w', 'o', 'r', 'd', ',', '1'});  // no terminating zero
  machine.registry.Put(HKEY_LOCAL_MACHINE_, kWindowsPath, "Window2", REG_BINARY_,
                       {'b', 'i', 'n', ',', '1'});
  machine.registry.Put(HKEY_LOCAL_MACHINE_, kWindowsPath, "Window3", REG_SZ_,
                       {'n', 'u', 0, 'l', ',', '1', 0});
  machine.registry.Put(HKEY_LOCAL_MACHINE_, kSettingsPath, "TimeDelay", REG_BINARY_, {0xFF, 0x00});
  SimApp a(machine);
  a.Start();
  const auto words = Words(a);
  ASSERT_EQ(words.size(), 4u);
  EXPECT_EQ(words[0].size(), std::size_t{1} << 20);
  EXPECT_EQ(words[1], "word");
  EXPECT_EQ(words[2], "bin");
  EXPECT_EQ(words[3], std::string("nu\0l", 4));
  EXPECT_EQ(a.app.shared.TimeDelay, 0);
  // Only the watch on the two keys stays open.
  EXPECT_EQ(machine.registry.OpenHandleCount(), 2);
}

TEST_F(StartupTest, ASecondCopyShowsTheSetupRequestForASecondAndEnds) {
  SimApp first(machine);
  first.Start();
  machine.world.RunFor(1000);
  ASSERT_EQ(machine.shell.icons.size(), 1u);

  SimApp second(machine);
  const Millis started = machine.world.Now();
  second.Start();
  ASSERT_TRUE(second.Alive());
  EXPECT_FALSE(second.app.main.timTarnwick.Enabled());
  EXPECT_FALSE(second.app.main.Timer1.Enabled());
  const Hwnd request = machine.desktop.FindWindow(nullptr, "Pagewarden Setup");
  ASSERT_NE(request, 0u);
  EXPECT_EQ(request, second.app.about.hWnd());
  EXPECT_TRUE(machine.desktop.Find(request)->visible);
  EXPECT_NE(second.app.main.Caption(), "Pagewarden");

  ASSERT_TRUE(machine.world.RunUntil([&] { return second.Ended(); }, started + 5000));
  EXPECT_NEAR(static_cast<double>(machine.world.EndedAt(second.host.pid) - started), 1000, 260);
  EXPECT_EQ(machine.desktop.FindWindow(nullptr, "Pagewarden Setup"), 0u);
  EXPECT_EQ(machine.shell.icons.size(), 1u);  // the second copy added none
  EXPECT_TRUE(first.Alive());
  EXPECT_EQ(machine.desktop.FindWindow(nullptr, "Pagewarden"), first.app.main.hWnd());
}

// Explorer titles a window on a folder named Pagewarden just so; only a window of this program
// counts as a running copy, wherever it stands among the windows of that caption.
TEST_F(StartupTest, OnlyAWindowOfThisProgramCaptionedPagewardenMakesASecondCopy) {
  machine.desktop.OpenWindow("CabinetWClass", "Pagewarden");
  SimApp first(machine);
  first.Start();
  machine.world.RunFor(3000);
  ASSERT_TRUE(first.Alive());
  EXPECT_EQ(first.app.main.Caption(), "Pagewarden");
  EXPECT_EQ(machine.shell.icons.size(), 1u);

  machine.desktop.OpenWindow("CabinetWClass", "PAGEWARDEN");  // in front of the monitor
  SimApp second(machine);
  second.Start();
  EXPECT_TRUE(machine.world.RunUntil([&] { return second.Ended(); }, machine.world.Now() + 3000));
  EXPECT_TRUE(first.Alive());
  EXPECT_EQ(machine.shell.icons.size(), 1u);
}

// Any program can make a hidden window of this program's class and caption. The guard the
// watchdog service started steps aside for none and answers the service every second, also while
// its setup prompt waits; a copy the user starts still hands its request over.
TEST_F(StartupTest, TheServicesGuardStaysBesideADecoyAndAnswersWhileAPromptWaits) {
  machine.desktop.OpenWindow("PagewardenForm", "Pagewarden");
  SimApp guard(machine);
  guard.host.sessionGuard = true;
  guard.Start();
  machine.world.RunFor(3000);
  ASSERT_TRUE(guard.Alive());
  EXPECT_EQ(guard.app.main.Caption(), "Pagewarden");
  EXPECT_EQ(machine.shell.icons.size(), 1u);

  SimApp second(machine);
  second.Start();
  EXPECT_TRUE(machine.world.RunUntil([&] { return second.Ended(); }, machine.world.Now() + 3000));
  machine.world.RunFor(5000);
  EXPECT_TRUE(guard.PromptShown());
  const std::vector<Millis>& answers = guard.host.answers;
  ASSERT_GE(answers.size(), 9u);
  for (std::size_t i = 1; i < answers.size(); ++i) EXPECT_LE(answers[i] - answers[i - 1], 2000);
  EXPECT_GE(answers.back(), machine.world.Now() - 2000);
  EXPECT_TRUE(second.host.answers.empty());
}

TEST_F(StartupTest, AnotherProgramsWindowCaptionedPagewardenSetupAsksForNothing) {
  SimApp a(machine);
  a.Start();
  const Hwnd installer = machine.desktop.OpenWindow("MsiDialogCloseClass", "Pagewarden Setup");
  machine.world.RunFor(1000);
  EXPECT_FALSE(a.app.password.Loaded() && a.app.password.Visible());
  EXPECT_TRUE(a.app.main.timTarnwick.Enabled());
  EXPECT_TRUE(machine.desktop.Find(installer)->messages.empty());
}

}  // namespace
}  // namespace pw
