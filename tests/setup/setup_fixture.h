#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/sim_app.h"

namespace pw::test {

inline constexpr const char* kWindowsPath = "SOFTWARE\\Tarnwick\\Addon2\\Windows";
inline constexpr const char* kSettingsPath = "SOFTWARE\\Tarnwick\\Addon2\\Settings";

// One entry of the setup window's list as the user sees it: text and check mark.
using Entry = std::pair<std::string, bool>;

// A running monitor on a simulated machine, with helpers to place and read stored values and to
// open the setup window the way the tray's Configure action does.
class SetupFixture : public ::testing::Test {
 protected:
  void SetUp() override { a.Start(); }

  void PutWord(int n, const std::string& value) {
    machine.registry.PutString(HKEY_LOCAL_MACHINE_, kWindowsPath, "Window" + std::to_string(n),
                               value);
  }
  void PutSetting(const std::string& name, const std::string& value) {
    machine.registry.PutString(HKEY_LOCAL_MACHINE_, kSettingsPath, name, value);
  }
  std::string Word(int n) {
    return machine.registry.GetString(HKEY_LOCAL_MACHINE_, kWindowsPath,
                                      "Window" + std::to_string(n));
  }
  bool HasWord(int n) {
    return machine.registry.HasValue(HKEY_LOCAL_MACHINE_, kWindowsPath,
                                     "Window" + std::to_string(n));
  }
  std::string Setting(const std::string& name) {
    return machine.registry.GetString(HKEY_LOCAL_MACHINE_, kSettingsPath, name);
  }
  // Every stored list value from "Window0" to "Window999", in number order.
  std::vector<std::string> StoredWords() {
    std::vector<std::string> words;
    for (int n = 0; n < 1000; ++n) {
      if (HasWord(n)) words.push_back(Word(n));
    }
    return words;
  }

  void Open() {
    a.Do([&] { setup.Show(); });
  }
  std::vector<Entry> Entries() {
    std::vector<Entry> entries;
    for (int i = 0; i < setup.List1.ListCount(); ++i) {
      entries.emplace_back(setup.List1.List(i), setup.List1.Selected(i));
    }
    return entries;
  }
  // Makes an entry current as a click on it does.
  void Click(const std::string& text) {
    a.Do([&] {
      for (int i = 0; i < setup.List1.ListCount(); ++i) {
        if (setup.List1.List(i) == text) setup.List1.SetListIndex(i);
      }
    });
  }
  void Press(forms::CommandButton& button) {
    a.Do([&] { button.Press(); });
  }
  void Press(forms::MenuItem& item) {
    a.Do([&] { item.Press(); });
  }

  sim::SimMachine machine;
  SimApp a{machine};
  frmSetup& setup = a.app.setup;
};

}  // namespace pw::test
