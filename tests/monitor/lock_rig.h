#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/win32_constants.h"
#include "tests/support/sim_app.h"
#include "tests/support/stored.h"

namespace pw::test {

inline constexpr const char* kBrowserClass = "IEFrame";
inline constexpr const char* kCasinoTitle = "Casino Royale - Microsoft Internet Explorer";
inline constexpr Millis kTick = 250;
// The look for a change in front between scan ticks.
inline constexpr Millis kLook = 45;
inline constexpr std::uint32_t kTrayIconId = 1;
inline constexpr int kRightButtonUp = WM_RBUTTONUP_;  // what the shell reports for the icon

// A monitor on a simulated machine, with the browser and the user at the prompt played by the
// test. Store words and settings before Start.
class LockRig {
 public:
  LockRig() : a(machine) {}

  void Setting(const std::string& name, const std::string& value) {
    StoreSetting(machine.registry, name, value);
  }
  // Stores a locked word.
  void Word(int n, const std::string& word) { StoreWord(machine.registry, n, word + ",1"); }
  // Starts the monitor with the unlock password "secret", the locked word casino and `settings`,
  // which may store another password.
  void StartLocked(const std::vector<std::pair<std::string, std::string>>& settings = {}) {
    Setting("UserPassword", "secret");
    Word(0, "casino");
    for (const auto& [name, value] : settings) Setting(name, value);
    a.Start();
  }

  // Lets the next scan tick run.
  void Tick() { machine.world.RunFor(kTick); }
  Hwnd Open(const std::string& title, const std::string& className = kBrowserClass) {
    return machine.desktop.OpenWindow(className, title);
  }
  // Opens a window in front and lets the next scan tick see it.
  Hwnd OpenAndScan(const std::string& title, const std::string& className = kBrowserClass) {
    const Hwnd opened = Open(title, className);
    Tick();
    return opened;
  }
  sim::SimWindow& Win(Hwnd handle) { return *machine.desktop.Find(handle); }
  bool Exists(Hwnd handle) const { return machine.desktop.Exists(handle); }
  int Closes(Hwnd handle) {
    int n = 0;
    for (const auto& m : Win(handle).messages) n += m.message == WM_CLOSE_ ? 1 : 0;
    return n;
  }
  // Runs until the window is disabled or the time limit passes; returns when, or -1.
  Millis FrozenBy(Hwnd handle, Millis limit) {
    const bool frozen =
        machine.world.RunUntil([&] { return Exists(handle) && !Win(handle).enabled; }, limit, 1);
    return frozen ? machine.world.Now() : -1;
  }

  frmPassword& prompt() { return a.app.password; }
  // What the user sees: the prompt loaded and shown. Reading it does not load it.
  bool PromptUp() { return a.PromptShown(); }
  const sim::SimWindow* PromptWindow() {
    return prompt().Loaded() ? machine.desktop.Find(prompt().hWnd()) : nullptr;
  }
  std::string Label() { return prompt().Label1.Caption(); }

  // The window held: the prompt up over it and the window disabled.
  ::testing::AssertionResult Held(Hwnd handle) {
    if (!PromptUp()) return ::testing::AssertionFailure() << "no prompt is up";
    if (Win(handle).enabled) return ::testing::AssertionFailure() << "the window is enabled";
    return ::testing::AssertionSuccess();
  }
  // The window let through: no prompt up and the window enabled.
  ::testing::AssertionResult LetThrough(Hwnd handle) {
    if (PromptUp()) return ::testing::AssertionFailure() << "a prompt is up";
    if (!Win(handle).enabled) return ::testing::AssertionFailure() << "the window is disabled";
    return ::testing::AssertionSuccess();
  }
  // An answer refused: the prompt stays up and says so.
  ::testing::AssertionResult Denied() {
    if (!PromptUp()) return ::testing::AssertionFailure() << "the prompt closed";
    if (Label() != frmPassword::kDenied) {
      return ::testing::AssertionFailure() << "the prompt reads \"" << Label() << '"';
    }
    return ::testing::AssertionSuccess();
  }
  // The monitor with Unlock All in force (`on`) or not: the acceptance, the scan timer and the
  // tray menu items that follow it.
  void ExpectAllUnlocked(bool on) {
    const Shared& s = a.app.shared;
    frmMain& m = a.app.main;
    EXPECT_EQ(s.PasswordAccepted, on) << "PasswordAccepted";
    EXPECT_EQ(s.AllUnlocked, on) << "AllUnlocked";
    EXPECT_EQ(m.timTarnwick.Enabled(), !on) << "the scan timer";
    EXPECT_EQ(m.mnuDeactivate.Enabled(), !on) << "Deactivate";
    EXPECT_EQ(m.mnuReactivate.Enabled(), on) << "Reactivate";
    EXPECT_EQ(m.mnuLockAllWindows2.Enabled(), on) << "Lock All Windows";
  }
  int Prompts() const { return static_cast<int>(machine.keystrokes.size()); }

  void Type(const std::string& text) {
    a.Do([this, text] { prompt().txtPassword.Type(text); });
  }
  void PressOK() {
    a.Do([this] { prompt().cmdOK.Press(); });
  }
  void Answer(const std::string& text) {
    Type(text);
    PressOK();
  }

  // The tray's Unlock All: a right click on the icon and that item of its menu.
  void OpenUnlockAll() { ChooseFromTray("Unlock All"); }
  // The tray's Configure...: the setup window opens once the setup password is given.
  void OpenSetupPrompt() { ChooseFromTray("Configure..."); }
  bool SetupOpen() { return Shown(a.app.setup); }

  // The shell's notification of a right click on the icon, handled on the program's thread as
  // its message pump would; `trayReturns` counts the chosen actions that have returned.
  void ChooseFromTray(const std::string& item) {
    a.Do([this] {
      machine.shell.ClickIcon(a.app.main.hWnd(), kTrayIconId, kRightButtonUp);
      a.host.toolkit.DoEvents();
      ++trayReturns;
    });
    bool chosen = false;
    a.Do([this, &chosen, item] { chosen = a.host.ChoosePopupItem(item); });
    EXPECT_TRUE(chosen) << "the tray menu offers " << item;
  }

  sim::SimMachine machine;
  SimApp a;
  int trayReturns = 0;
};

}  // namespace pw::test
