#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/machine_test.h"
#include "tests/support/sim_app.h"

namespace pw::test {

// One entry of the setup window's list as the user sees it: text and check mark.
using Entry = std::pair<std::string, bool>;

// A running monitor on a simulated machine, with helpers to place and read stored values and to
// open the setup window the way the tray's Configure action does.
class SetupFixture : public MachineTest {
 protected:
  void SetUp() override { a.Start(); }

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
  // Closes the window without storing and opens it again, to see what it reads back.
  void Reopen() {
    Press(setup.cmdCancel);
    Open();
  }
  // The setup window open over Casino unticked and Poker ticked, with Apply greyed.
  void OpenOverTwoEntries() {
    PutWord(0, "Casino,0");
    PutWord(1, "Poker,1");
    PutSetting("FirstTime", "1");
    Open();
    a.Do([&] { setup.cmdApply.SetEnabled(false); });
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

  SimApp a{machine};
  frmSetup& setup = a.app.setup;
};

}  // namespace pw::test
