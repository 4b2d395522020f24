#include <gtest/gtest.h>

#include "platform/win32_constants.h"
#include "tests/support/machine_test.h"
#include "tests/support/sim_app.h"

namespace pw {
namespace {

using test::SimApp;

class TrayTest : public test::MachineTest {
 protected:
  void Click(SimApp& app, int code) {
    machine.shell.ClickIcon(app.app.main.hWnd(), 1, code);
    machine.world.RunFor(0);
  }
  std::vector<std::string> Captions(const sim::PopupShown& shown) {
    std::vector<std::string> captions;
    for (const auto& e : shown.entries) captions.push_back(e.caption);
    return captions;
  }
  void Answer(SimApp& app, const std::string& entry) {
    app.Do([&] {
      app.app.password.txtPassword.Type(entry);
      app.app.password.PressEnter();
    });
  }
  // "X": the action then waits half a second after its (empty) close request.
  void Dismiss(SimApp& app) {
    app.Do([&] { app.app.password.Command1.Press(); });
    machine.world.RunFor(600);
  }
};

TEST_F(TrayTest, RightClickShowsTheFullMenuWithConfigureAsDefault) {
  SimApp a(machine);
  a.Start();
  Click(a, WM_RBUTTONUP_);
  ASSERT_EQ(a.host.popupsShown.size(), 1u);
  const sim::PopupShown& shown = a.host.popupsShown[0];
  EXPECT_EQ(Captions(shown), (std::vector<std::string>{"Configure...", "-", "Lock All",
                                                       "Unlock All", "-", "About", "Cancel"}));
  EXPECT_TRUE(shown.entries[0].isDefault);
  EXPECT_FALSE(shown.entries[2].enabled);
  EXPECT_TRUE(shown.entries[3].enabled);
  a.Do([&] { a.host.ChoosePopupItem("About"); });
  EXPECT_TRUE(a.app.about.Visible());
}

TEST_F(TrayTest, HiddenMenuShowsTheReducedOneAndIgnoresDoubleClicks) {
  PutSetting("HideMenu", "1");
  SimApp a(machine);
  a.Start();
  Click(a, WM_RBUTTONUP_);
  ASSERT_EQ(a.host.popupsShown.size(), 1u);
  EXPECT_EQ(Captions(a.host.popupsShown[0]),
            (std::vector<std::string>{"Lock All", "-", "About", "Cancel"}));
  for (const auto& e : a.host.popupsShown[0].entries) EXPECT_FALSE(e.isDefault);
  a.Do([&] { a.host.ChoosePopupItem("Cancel"); });
  Click(a, WM_LBUTTONDBLCLK_);
  EXPECT_FALSE(a.PromptShown());
}

TEST_F(TrayTest, SingleClicksAndButtonPressesDoNothing) {
  SimApp a(machine);
  a.Start();
  for (int code : {512, 513, 514, 516, 518, 519}) Click(a, code);
  EXPECT_TRUE(a.host.popupsShown.empty());
  EXPECT_FALSE(a.PromptShown());
}

TEST_F(TrayTest, DoubleClickAsksForTheSetupPasswordAndOpensTheSetupWindow) {
  PutSetting("UserPassword2", "admin");
  SimApp a(machine);
  a.Start();
  Click(a, WM_LBUTTONDBLCLK_);
  ASSERT_TRUE(a.PromptShown());
  EXPECT_TRUE(a.app.shared.SetupRequested);
  // The scan goes on while it asks.
  EXPECT_TRUE(a.app.main.timTarnwick.Enabled());
  EXPECT_FALSE(a.app.password.chkunlock.Visible());
  Answer(a, "ADMIN");
  EXPECT_FALSE(a.PromptShown());
  EXPECT_TRUE(a.app.setup.Visible());
  EXPECT_TRUE(a.app.main.timTarnwick.Enabled());
  EXPECT_FALSE(a.app.shared.SetupRequested);
}

TEST_F(TrayTest, EmptySetupPasswordAcceptsAnEmptyEntry) {
  SimApp a(machine);
  a.Start();
  Click(a, WM_LBUTTONDBLCLK_);
  Answer(a, "");
  EXPECT_TRUE(a.app.setup.Visible());
}

TEST_F(TrayTest, ConfigureDismissedKeepsSetupClosedAndRestoresTheSwitches) {
  PutSetting("passwordprompt", "1");
  SimApp a(machine);
  a.Start();
  ASSERT_TRUE(a.app.main.NoPasswordPrompt);
  Click(a, WM_LBUTTONDBLCLK_);
  ASSERT_TRUE(a.PromptShown());  // asked even though prompting is off for pages
  EXPECT_FALSE(a.app.main.NoPasswordPrompt);
  Dismiss(a);
  EXPECT_FALSE(a.app.setup.Loaded() && a.app.setup.Visible());
  EXPECT_TRUE(a.app.main.timTarnwick.Enabled());
  EXPECT_TRUE(a.app.main.NoPasswordPrompt);
}

TEST_F(TrayTest, UnlockAllRightThenLockAllRestoresEverything) {
  PutSetting("UserPassword", "open");
  SimApp a(machine);
  a.Start();
  frmMain& m = a.app.main;
  a.Do([&] { m.List2.AddItem("IEFrame"); });
  a.Do([&] { m.mnuDeactivate.Press(); });
  ASSERT_TRUE(a.PromptShown());
  EXPECT_EQ(a.app.password.Caption(), "Webkeeper: Unlock All");
  EXPECT_FALSE(a.app.password.cmdOK.Visible());
  EXPECT_TRUE(a.app.password.cmdDeactivate.Visible());
  EXPECT_EQ(m.List2.ListCount(), 0);
  Answer(a, "open");
  EXPECT_FALSE(a.PromptShown());
  EXPECT_TRUE(a.app.shared.AllUnlocked);
  EXPECT_FALSE(m.timTarnwick.Enabled());
  EXPECT_FALSE(m.mnuDeactivate.Enabled());
  EXPECT_TRUE(m.mnuReactivate.Enabled());
  EXPECT_TRUE(m.mnuLockAllWindows2.Enabled());

  // Configure while everything is unlocked keeps scanning off.
  Click(a, WM_LBUTTONDBLCLK_);
  Answer(a, "");
  EXPECT_FALSE(m.timTarnwick.Enabled());

  const Millis chosen = machine.world.Now();
  a.Do([&] { m.mnuReactivate.Press(); });
  ASSERT_TRUE(machine.world.RunUntil([&] { return m.timTarnwick.Enabled(); }, chosen + 1000));
  EXPECT_LE(machine.world.Now() - chosen, 260);
  EXPECT_FALSE(a.app.shared.AllUnlocked);
  EXPECT_TRUE(m.mnuDeactivate.Enabled());
  EXPECT_FALSE(m.mnuReactivate.Enabled());
  EXPECT_FALSE(m.mnuLockAllWindows2.Enabled());
}

TEST_F(TrayTest, UnlockAllWrongThenDismissedResumesScanning) {
  PutSetting("UserPassword", "open");
  SimApp a(machine);
  a.Start();
  frmMain& m = a.app.main;
  a.Do([&] { m.mnuDeactivate.Press(); });
  const int beeps = machine.beeps;
  Answer(a, "shut");
  EXPECT_TRUE(a.PromptShown());
  EXPECT_EQ(machine.beeps, beeps + 1);
  Dismiss(a);
  EXPECT_TRUE(m.timTarnwick.Enabled());
  EXPECT_TRUE(m.mnuDeactivate.Enabled());
  EXPECT_FALSE(m.mnuReactivate.Enabled());
  EXPECT_EQ(m.List2.ListCount(), 0);
}

TEST_F(TrayTest, UnlockAllWithoutPromptingLeavesAPromptThatStillUnlocks) {
  PutSetting("UserPassword", "open");
  PutSetting("passwordprompt", "1");
  SimApp a(machine);
  a.Start();
  frmMain& m = a.app.main;
  a.Do([&] { m.mnuDeactivate.Press(); });
  machine.world.RunFor(600);  // the stop action's half-second wait
  EXPECT_TRUE(m.timTarnwick.Enabled());
  ASSERT_TRUE(a.PromptShown());
  Answer(a, "open");
  EXPECT_TRUE(a.app.shared.AllUnlocked);
  EXPECT_FALSE(m.timTarnwick.Enabled());
}

TEST_F(TrayTest, ASecondStartOpensTheSetupPromptExactlyOnce) {
  PutSetting("UserPassword2", "admin");
  SimApp monitor(machine);
  monitor.Start();
  SimApp second(machine);
  const Millis started = machine.world.Now();
  second.Start();
  ASSERT_TRUE(machine.world.RunUntil([&] { return monitor.PromptShown(); }, started + 1000));
  EXPECT_TRUE(monitor.app.shared.SetupRequested);
  // Answered while the request window is still there: no second prompt for the same request.
  Answer(monitor, "admin");
  EXPECT_TRUE(monitor.app.setup.Visible());
  ASSERT_TRUE(machine.world.RunUntil([&] { return second.Ended(); }, started + 3000));
  EXPECT_NEAR(static_cast<double>(machine.world.EndedAt(second.host.pid) - started), 1000, 300);
  machine.world.RunFor(2000);
  EXPECT_FALSE(monitor.PromptShown());

  // A later second start is a new request.
  monitor.Do([&] { monitor.app.setup.cmdCancel.Press(); });
  SimApp third(machine);
  third.Start();
  EXPECT_TRUE(
      machine.world.RunUntil([&] { return monitor.PromptShown(); }, machine.world.Now() + 1000));
}

// The stop action handles input while it waits for its keystroke, so a quick answer can close
// the prompt before the wait for it begins. The answer stands: the setup window opens and the
// prompt, answered, does not come back.
TEST_F(TrayTest, ASetupPromptAnsweredWhileItsKeystrokeIsHandledIsNotShownAgain) {
  PutSetting("UserPassword2", "admin");
  SimApp monitor(machine);
  monitor.Start();
  machine.onKeystroke = [&] {
    machine.onKeystroke = nullptr;
    monitor.app.password.txtPassword.Type("admin");
    monitor.app.password.PressEnter();
  };
  SimApp second(machine);
  second.Start();
  ASSERT_TRUE(machine.world.RunUntil([&] { return monitor.app.setup.Visible(); },
                                     machine.world.Now() + 1000));
  machine.world.RunFor(3000);
  EXPECT_EQ(machine.keystrokes.size(), 1u);
  EXPECT_FALSE(monitor.PromptShown());
  EXPECT_FALSE(machine.desktop.clip.has_value());
  EXPECT_TRUE(monitor.app.main.timTarnwick.Enabled());
}

TEST_F(TrayTest, ASetupRequestDuringAStopActionRunsNestedAndNothingHangs) {
  PutSetting("UserPassword", "open");
  PutSetting("UserPassword2", "admin");
  PutWord(0, "casino,1");
  SimApp monitor(machine);
  monitor.Start();
  const Hwnd page =
      machine.desktop.OpenWindow("IEFrame", "Casino Royale - Microsoft Internet Explorer");
  machine.world.RunFor(300);
  ASSERT_TRUE(monitor.PromptShown());
  ASSERT_FALSE(monitor.app.shared.SetupRequested);
  SimApp second(machine);
  second.Start();
  ASSERT_TRUE(machine.world.RunUntil([&] { return monitor.app.shared.SetupRequested; },
                                     machine.world.Now() + 1000));
  Answer(monitor, "admin");  // the inner action accepts and opens the setup window
  EXPECT_TRUE(monitor.app.setup.Visible());
  // The outer stop action read the flags as the inner one left them: accepted, page let live.
  machine.world.RunFor(1000);
  EXPECT_TRUE(machine.desktop.Exists(page));
  EXPECT_TRUE(machine.desktop.Find(page)->enabled);
  EXPECT_TRUE(monitor.app.main.timTarnwick.Enabled());
  EXPECT_FALSE(monitor.PromptShown());
}

TEST_F(TrayTest, ClosingTheMonitorStartsAFreshCopyUnlessWindowsEnds) {
  test::Launcher launcher(machine);
  SimApp& first = launcher.Launch();
  const auto start = machine.shell.startProgram;
  for (int mode : {0, 1, 3, 4, 5}) {
    SimApp& current = *launcher.Apps().back();
    ASSERT_TRUE(current.Alive());
    const std::size_t before = launcher.Apps().size();
    std::string captionDuring;
    machine.shell.startProgram = [&](const std::string& path, int style) {
      captionDuring = current.app.main.Caption();  // as the new copy looks for a monitor
      return start(path, style);
    };
    current.Do([&] { current.app.main.RequestClose(mode); });
    EXPECT_EQ(captionDuring, "ooh! ");
    EXPECT_EQ(machine.shell.started.back().path, "C:\\Program Files\\Pagewarden\\pgwatch.exe");
    EXPECT_EQ(machine.shell.started.back().windowStyle, 4);
    ASSERT_EQ(launcher.Apps().size(), before + 1) << "mode " << mode;
    machine.world.RunFor(500);
    EXPECT_TRUE(current.Ended()) << "mode " << mode;
    SimApp& fresh = *launcher.Apps().back();
    EXPECT_TRUE(fresh.Alive());
    EXPECT_EQ(machine.desktop.FindWindow(nullptr, "Pagewarden"), fresh.app.main.hWnd());
  }
  (void)first;
  SimApp& last = *launcher.Apps().back();
  const std::size_t count = machine.shell.started.size();
  last.Do([&] { last.app.main.RequestClose(2); });
  EXPECT_TRUE(last.Ended());
  EXPECT_EQ(machine.shell.started.size(), count);
}

TEST_F(TrayTest, AFailedStartFallsBackToThePlainProgramName) {
  test::Launcher launcher(machine);
  SimApp& first = launcher.Launch();
  // The program folder has gone; the plain name is found by the usual search.
  auto start = machine.shell.startProgram;
  machine.shell.startProgram = [start](const std::string& path, int style) {
    return path.find('\\') == std::string::npos && start(path, style);
  };
  first.Do([&] { first.app.main.RequestClose(0); });
  ASSERT_EQ(machine.shell.started.size(), 2u);
  EXPECT_FALSE(machine.shell.started[0].started);
  EXPECT_EQ(machine.shell.started[1].path, "pgwatch.exe");
  EXPECT_EQ(machine.shell.started[1].windowStyle, 4);
  EXPECT_TRUE(machine.shell.started[1].started);
  EXPECT_EQ(first.app.main.design.caption, "Webkeeper");
  machine.world.RunFor(500);
  EXPECT_TRUE(first.Ended());
  EXPECT_TRUE(launcher.Apps().back()->Alive());
}

TEST_F(TrayTest, TheIconComesBackWhenExplorerRestartsUnlessItIsSwitchedOff) {
  SimApp a(machine);
  a.Start();
  machine.shell.RestartExplorer();
  machine.world.RunFor(0);
  ASSERT_EQ(machine.shell.icons.size(), 1u);
  EXPECT_EQ(machine.shell.icons.begin()->second.window, a.app.main.hWnd());
  PutSetting("disablemenu", "1");
  machine.shell.RestartExplorer();
  machine.world.RunFor(0);
  EXPECT_TRUE(machine.shell.icons.empty());
}

TEST_F(TrayTest, DisableMenuTakesEffectAtTheNextReload) {
  SimApp a(machine);
  a.Start();
  ASSERT_EQ(machine.shell.icons.size(), 1u);
  PutSetting("disablemenu", "1");
  a.Do([&] { a.app.shared.ReloadPending = true; });
  machine.world.RunFor(300);
  EXPECT_TRUE(machine.shell.icons.empty());
  PutSetting("disablemenu", "0");
  a.Do([&] { a.app.shared.ReloadPending = true; });
  machine.world.RunFor(300);
  EXPECT_EQ(machine.shell.icons.size(), 1u);
}

TEST_F(TrayTest, IconRecordBytesForAddingAndDeleting) {
  const TrayRecord add = Module1::MakeTrayData(0x1234, 1, 7, 0x200, 0xABCD, "Pagewarden ");
  EXPECT_EQ(add[0], 88);
  EXPECT_EQ(add[4], 0x34);
  EXPECT_EQ(add[5], 0x12);
  EXPECT_EQ(add[8], 1);
  EXPECT_EQ(add[12], 7);
  EXPECT_EQ(add[16], 0x00);
  EXPECT_EQ(add[17], 0x02);
  EXPECT_EQ(add[20], 0xCD);
  EXPECT_EQ(std::string(add.begin() + 24, add.begin() + 35), "Pagewarden ");
  EXPECT_EQ(add[35], 0);
  for (std::size_t i = 36; i < 88; ++i) EXPECT_EQ(add[i], ' ') << i;
  const TrayRecord del = Module1::MakeTrayData(0x1234, 1, 7, 1, 0xABCD, "");
  EXPECT_EQ(del[16], 1);
  EXPECT_EQ(del[24], 0);
  EXPECT_EQ(del[25], ' ');
  // A tip longer than the field keeps its terminator.
  const TrayRecord longTip = Module1::MakeTrayData(1, 1, 7, 0x200, 0, std::string(100, 'x'));
  EXPECT_EQ(longTip[87], 0);
}

}  // namespace
}  // namespace pw
