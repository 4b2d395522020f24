#include <gtest/gtest.h>

#include "platform/sim/sim_views.h"
#include "tests/support/sim_app.h"

// The exit codes tell the watchdog service which ends it must not undo.
namespace pw {
namespace {

using test::Launcher;
using test::SimApp;

constexpr auto Code(ExitCode code) {
  return static_cast<std::uint32_t>(code);
}

class ExitCodeTest : public ::testing::Test {
 protected:
  void EndSession(SimApp& a, std::uintptr_t ending, std::intptr_t how) {
    machine.desktop.Post(a.app.main.hWnd(), sim::WM_ENDSESSION_, ending, how);
    machine.world.RunFor(100);
  }

  sim::SimMachine machine;
};

TEST_F(ExitCodeTest, LogOffAndAnInstallersCloseEndWithTheirOwnCodesAndStartNothing) {
  Launcher launcher(machine);
  for (auto [how, code] : {std::pair{std::intptr_t{0}, ExitCode::LoggedOff},
                           std::pair{sim::ENDSESSION_CLOSEAPP_, ExitCode::InstallerClose}}) {
    SimApp& a = launcher.Launch();
    const std::size_t starts = machine.shell.started.size();
    EndSession(a, 1, how);
    EXPECT_TRUE(a.Ended());
    EXPECT_EQ(a.host.exitCode, Code(code));
    EXPECT_EQ(machine.shell.started.size(), starts);
  }
}

TEST_F(ExitCodeTest, ACancelledLogOffLeavesTheMonitorRunning) {
  SimApp a(machine);
  a.Start();
  EndSession(a, 0, 0);
  EXPECT_TRUE(a.Alive());
  EXPECT_EQ(machine.desktop.FindWindow(nullptr, "Pagewarden"), a.app.main.hWnd());
}

TEST_F(ExitCodeTest, AnOrderlyCloseHandsOverOnlyWhenTheFreshCopyStarted) {
  Launcher launcher(machine);
  SimApp& first = launcher.Launch();
  first.Do([&] { first.app.main.RequestClose(forms::kUnloadCloseCommand); });
  machine.world.RunFor(500);
  EXPECT_TRUE(first.Ended());
  EXPECT_EQ(first.app.exitCode, ExitCode::HandedOver);

  SimApp& second = *launcher.Apps().back();
  launcher.failStarts = true;
  second.Do([&] { second.app.main.RequestClose(forms::kUnloadTaskManager); });
  machine.world.RunFor(500);
  EXPECT_TRUE(second.Ended());
  EXPECT_EQ(second.app.exitCode, ExitCode::Plain);
}

// Any program of the user may ask the service's guard to close, as often as it likes; it stays
// (a fresh copy would be the user's, easy to end or freeze). The ends of a session still end it.
TEST_F(ExitCodeTest, TheServicesGuardStaysWhenAskedToCloseAndEndsWithASession) {
  Launcher launcher(machine);
  SimApp& guard = launcher.Launch();
  guard.host.sessionGuard = true;
  const std::size_t starts = machine.shell.started.size();
  for (int mode : {forms::kUnloadCloseCommand, forms::kUnloadTaskManager}) {
    guard.Do([&] { guard.app.main.RequestClose(mode); });
    machine.world.RunFor(500);
    EXPECT_TRUE(guard.Alive());
  }
  EXPECT_EQ(machine.shell.started.size(), starts);
  EXPECT_EQ(machine.desktop.FindWindow(nullptr, "Pagewarden"), guard.app.main.hWnd());
  EndSession(guard, 1, sim::ENDSESSION_CLOSEAPP_);
  EXPECT_EQ(guard.host.exitCode, Code(ExitCode::InstallerClose));
}

TEST_F(ExitCodeTest, ASecondCopyEndsPlainly) {
  SimApp monitor(machine);
  monitor.Start();
  SimApp second(machine);
  second.Start();
  machine.world.RunFor(1500);
  EXPECT_TRUE(second.Ended());
  EXPECT_EQ(second.host.exitCode, Code(ExitCode::Plain));
  EXPECT_TRUE(monitor.Alive());
}

}  // namespace
}  // namespace pw
