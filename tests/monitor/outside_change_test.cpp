// Changes to the stored settings made while the monitor runs: by another program (reg add, a
// Group Policy refresh) or by the monitor's own windows.
#include <gtest/gtest.h>

#include "tests/monitor/lock_rig.h"

namespace pw::test {
namespace {

// Registry reads the monitor makes from the moment this is built; one reload reads every list
// value and every setting.
class Reads {
 public:
  explicit Reads(sim::SimMachine& machine)
      : registry_(machine.registry), start_(registry_.QueryCount()) {}
  long Count() const { return registry_.QueryCount() - start_; }

 private:
  sim::SimRegistry& registry_;
  long start_;
};

// How long until the monitor has the word in its list, from now; -1 when not within a second.
Millis TimeUntilLocked(LockRig& r, const std::string& word) {
  const Millis from = r.machine.world.Now();
  frmMain& m = r.a.app.main;
  const bool found = r.machine.world.RunUntil(
      [&] {
        for (int i = 0; i < m.List1.ListCount(); ++i) {
          if (m.List1.List(i) == word) return true;
        }
        return false;
      },
      from + 1000, 1);
  return found ? r.machine.world.Now() - from : -1;
}

TEST(OutsideChangeTest, AWordAddedFromOutsideIsLockedWithinOneWatcherTick) {
  LockRig r;
  r.StartLocked();
  r.machine.world.RunFor(1000);
  const Hwnd browser = r.OpenAndScan("Poker night - Internet Explorer");
  EXPECT_FALSE(r.PromptUp());

  // Another program writes while the monitor sleeps between ticks.
  r.machine.world.RunFor(100);
  r.Word(1, "Poker");
  const Millis took = TimeUntilLocked(r, "poker");
  EXPECT_GE(took, 0);
  EXPECT_LE(took, kTick);
  r.Tick();
  EXPECT_TRUE(r.Held(browser));

  // Removing it from outside lets such pages through again.
  r.Answer("secret");
  r.a.Do([&] { r.a.app.main.List2.Clear(); });
  r.a.Do([&] {
    RegKey key = 0;
    r.machine.registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE_, kWindowsPath, 0, KEY_WRITE_, key);
    r.machine.registry.RegDeleteValueA(key, "Window1");
    r.machine.registry.RegCloseKey(key);
  });
  r.machine.world.RunFor(kTick);
  EXPECT_EQ(r.a.app.main.List1.ListCount(), 1);
}

TEST(OutsideChangeTest, KeysCreatedOrDeletedAfterStartAreFollowed) {
  LockRig r;
  r.a.Start();  // nothing stored yet: neither key exists
  r.machine.world.RunFor(1000);
  EXPECT_EQ(r.machine.registry.OpenHandleCount(), 0);

  r.Word(0, "casino");  // creates the key
  EXPECT_LE(TimeUntilLocked(r, "casino"), kTick);
  EXPECT_GE(TimeUntilLocked(r, "casino"), 0);
  r.Setting("webbrowser", "Firefox");
  r.machine.world.RunFor(kTick);
  EXPECT_EQ(r.a.app.shared.BrowserTitle, "Firefox");
  EXPECT_EQ(r.machine.registry.OpenHandleCount(), 2);

  // A tool that throws the whole key away and writes it anew.
  r.machine.registry.DeleteKey(HKEY_LOCAL_MACHINE_, kWindowsPath);
  r.machine.world.RunFor(kTick);
  EXPECT_EQ(r.a.app.main.List1.ListCount(), 0);
  r.Word(3, "dice");
  EXPECT_GE(TimeUntilLocked(r, "dice"), 0);
  EXPECT_LE(TimeUntilLocked(r, "dice"), kTick);
  EXPECT_EQ(r.machine.registry.OpenHandleCount(), 2);
}

TEST(OutsideChangeTest, AnOutsideChangeEndsAnUnlockAll) {
  LockRig r;
  r.StartLocked();
  r.OpenAndScan(kCasinoTitle);
  r.Type("secret");
  r.a.Do([&] { r.prompt().chkunlock.Press(); });
  r.PressOK();
  ASSERT_TRUE(r.a.app.shared.AllUnlocked);
  ASSERT_FALSE(r.a.app.main.timTarnwick.Enabled());

  r.Setting("HideMenu", "1");
  r.machine.world.RunFor(kTick);
  EXPECT_FALSE(r.a.app.shared.AllUnlocked);
  EXPECT_TRUE(r.a.app.main.timTarnwick.Enabled());
  EXPECT_TRUE(r.a.app.main.HideMenuOn);
  EXPECT_TRUE(r.a.app.main.mnuDeactivate.Enabled());
  r.Tick();
  EXPECT_TRUE(r.PromptUp());
}

TEST(OutsideChangeTest, AReloadDueWhileThePromptIsAnsweredWaitsForTheStopAction) {
  LockRig r;
  r.StartLocked();
  const Hwnd page = r.OpenAndScan(kCasinoTitle);
  ASSERT_TRUE(r.PromptUp());
  r.Type("secret");
  // A change noticed just as the right password is given, and the watcher's tick coming before
  // the stop action has looked at the answer.
  r.a.Do([&] {
    r.prompt().cmdOK.Press();
    r.a.app.shared.ReloadPending = true;
    r.a.app.main.Timer1_Timer();
  });
  r.Tick();
  EXPECT_FALSE(r.PromptUp());
  EXPECT_EQ(r.Closes(page), 0);
  EXPECT_TRUE(r.Win(page).enabled);
  // The reload comes right after.
  EXPECT_FALSE(r.a.app.shared.ReloadPending);
}

TEST(OutsideChangeTest, OurOwnStoresReloadOnceAndThenRest) {
  LockRig r;
  r.StartLocked();
  r.machine.world.RunFor(1000);

  // Lock All asks for a reload without writing anything: the cost of one reload.
  Reads lockAll(r.machine);
  r.a.Do([&] { r.a.app.main.mnuReactivate_Click(); });
  r.machine.world.RunFor(2000);
  const long oneReload = lockAll.Count();
  ASSERT_GT(oneReload, 1000);

  // The setup window's OK writes every entry and setting, then asks for a reload itself.
  frmSetup& setup = r.a.app.setup;
  r.a.Do([&] { setup.Show(); });
  r.a.Do([&] { setup.txtwebbrowser.SetText("Firefox"); });
  Reads store(r.machine);
  r.a.Do([&] { setup.Cmdok.Press(); });
  r.machine.world.RunFor(kTick);
  EXPECT_EQ(r.a.app.shared.BrowserTitle, "Firefox");
  r.machine.world.RunFor(5000);
  EXPECT_EQ(store.Count(), oneReload);

  // The passwords dialog stores two values one after the other.
  Reads passwords(r.machine);
  r.a.Do([&] {
    RegKey key = 0;
    std::uint32_t how = 0;
    r.machine.registry.RegCreateKeyExA(HKEY_LOCAL_MACHINE_, kSettingsPath, 0, KEY_WRITE_, key, how);
    const std::string text = "other";
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.c_str());
    r.machine.registry.RegSetValueExA(key, "UserPassword", REG_SZ_, bytes, 6);
    r.machine.registry.RegSetValueExA(key, "UserPassword2", REG_SZ_, bytes, 6);
    r.machine.registry.RegCloseKey(key);
    r.a.app.shared.ReloadPending = true;
  });
  r.machine.world.RunFor(5000);
  EXPECT_EQ(passwords.Count(), oneReload);
  EXPECT_EQ(r.a.app.shared.UnlockPassword, "other");
  EXPECT_EQ(r.machine.registry.OpenHandleCount(), 2);

  // And the watch is still there for the next change from outside.
  r.Word(1, "dice");
  EXPECT_GE(TimeUntilLocked(r, "dice"), 0);
}

TEST(OutsideChangeTest, AClosingMonitorStopsWatching) {
  LockRig r;
  r.StartLocked();
  ASSERT_EQ(r.machine.registry.OpenHandleCount(), 2);
  r.a.Do([&] { r.a.app.main.Unload(); });
  EXPECT_EQ(r.machine.registry.OpenHandleCount(), 0);
  EXPECT_EQ(r.machine.registry.WatchCount(), 0);
}

}  // namespace
}  // namespace pw::test
