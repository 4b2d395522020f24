#include <gtest/gtest.h>

#include "tests/setup/setup_fixture.h"

namespace pw::test {
namespace {

class AddWizardTest : public SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    OpenOverTwoEntries();
    Press(setup.cmdAdd);
  }
  // Types a word over the hint and finishes through both pages with Enter.
  void AddWord(const std::string& word) {
    a.Do([&] { wizard.txtWindow.Type(word); });
    a.Do([&] { wizard.PressEnter(); });
    a.Do([&] { wizard.PressEnter(); });
  }

  frmAddWizard& wizard = a.app.addWizard;
};

TEST_F(AddWizardTest, OpensOnTheFirstPageWithTheHintSelectedAndNextDisabled) {
  EXPECT_FALSE(setup.Enabled());
  ASSERT_TRUE(wizard.Visible());
  EXPECT_EQ(wizard.Caption(), "Lock an Item");
  EXPECT_EQ(wizard.Image1.Resource(), "IDB_WIZARD");
  const std::string hint = "(appears in the bar at top of window)";
  EXPECT_EQ(wizard.txtWindow.Text(), hint);
  EXPECT_EQ(wizard.txtWindow.SelStart(), 0);
  EXPECT_EQ(wizard.txtWindow.SelLength(), static_cast<int>(hint.size()));
  EXPECT_FALSE(wizard.cmdNext.Enabled());
  EXPECT_FALSE(wizard.cmdBack.Enabled());
  EXPECT_EQ(wizard.ActiveControl(), &wizard.txtWindow);

  a.Do([&] { wizard.txtWindow.Type("B"); });  // the first keystroke replaces the hint
  EXPECT_EQ(wizard.txtWindow.Text(), "B");
  EXPECT_TRUE(wizard.cmdNext.Enabled());
  EXPECT_TRUE(wizard.cmdNext.Default());
  a.Do([&] { wizard.txtWindow.SetText(""); });
  EXPECT_FALSE(wizard.cmdNext.Enabled());
  EXPECT_FALSE(wizard.cmdNext.Default());
}

TEST_F(AddWizardTest, PagesGoForwardAndBackAndFinishAddsTheWordTicked) {
  a.Do([&] { wizard.txtWindow.Type("Blackjack"); });
  a.Do([&] { wizard.PressEnter(); });
  EXPECT_EQ(wizard.cmdNext.Caption(), "Finish");
  EXPECT_EQ(wizard.Label1.Caption(), "Check your entry below:");
  EXPECT_FALSE(wizard.Label2.Visible());
  EXPECT_TRUE(wizard.cmdBack.Enabled());

  Press(wizard.cmdBack);
  EXPECT_EQ(wizard.cmdNext.Caption(), "&Next >");
  EXPECT_EQ(wizard.Label1.Caption(), "This wizard helps you add a new window to be locked.");
  EXPECT_TRUE(wizard.Label2.Visible());
  EXPECT_FALSE(wizard.cmdBack.Enabled());
  EXPECT_EQ(wizard.txtWindow.Text(), "Blackjack");
  EXPECT_EQ(wizard.txtWindow.SelLength(), 9);
  EXPECT_EQ(wizard.ActiveControl(), &wizard.txtWindow);

  Press(wizard.cmdNext);
  a.Do([&] { wizard.PressEnter(); });  // Enter finishes on the second page
  EXPECT_FALSE(wizard.Loaded());
  EXPECT_TRUE(setup.Enabled());
  EXPECT_EQ(Entries(),
            (std::vector<Entry>{{"Blackjack", true}, {"Casino", false}, {"Poker", true}}));
  EXPECT_EQ(setup.List1.ListIndex(), 0);
  EXPECT_TRUE(setup.cmdApply.Enabled());
  EXPECT_TRUE(StoredWords().size() == 2u);  // the list reaches the registry only with OK or Apply
}

TEST_F(AddWizardTest, AnExistingWordIsTickedInsteadOfAddedButOtherLetterCaseIsNew) {
  AddWord("Casino");
  EXPECT_EQ(Entries(), (std::vector<Entry>{{"Casino", true}, {"Poker", true}}));
  EXPECT_EQ(setup.List1.ListIndex(), 0);
  EXPECT_TRUE(setup.cmdApply.Enabled());

  Press(setup.cmdAdd);
  AddWord("poker");
  EXPECT_EQ(Entries().size(), 3u);
  EXPECT_EQ(setup.List1.List(setup.List1.ListIndex()), "poker");

  Press(setup.cmdAdd);
  AddWord("  dice ");  // blanks stay
  EXPECT_EQ(Entries()[0], (Entry{"  dice ", true}));
}

TEST_F(AddWizardTest, CancelOnEitherPageLeavesTheListAndTheNextOpeningStartsAfresh) {
  a.Do([&] { wizard.txtWindow.Type("Dice"); });
  a.Do([&] { wizard.PressEscape(); });
  EXPECT_FALSE(wizard.Loaded());
  EXPECT_TRUE(setup.Enabled());

  Press(setup.cmdAdd);
  EXPECT_EQ(wizard.txtWindow.Text(), "(appears in the bar at top of window)");
  EXPECT_EQ(wizard.Label1.Caption(), "This wizard helps you add a new item to be locked.");
  a.Do([&] { wizard.txtWindow.Type("Dice"); });
  Press(wizard.cmdNext);
  Press(wizard.cmdCancel);
  EXPECT_TRUE(setup.Enabled());
  EXPECT_EQ(Entries().size(), 2u);
  EXPECT_FALSE(setup.cmdApply.Enabled());
}

}  // namespace
}  // namespace pw::test
