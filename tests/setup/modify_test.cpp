#include <gtest/gtest.h>

#include "tests/setup/setup_fixture.h"

namespace pw::test {
namespace {

class ModifyTest : public SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    OpenOverTwoEntries();
  }
  void Change(const std::string& entry, const std::string& text) {
    Click(entry);
    Press(setup.cmdModify);
    a.Do([&] { modify.txtModify.SetText(text); });
    Press(modify.cmdOK);
  }

  frmModify& modify = a.app.modify;
};

TEST_F(ModifyTest, OpensWithTheCurrentEntryAndOkWithoutEditingTicksIt) {
  Click("Casino");
  a.Do([&] { setup.cmdApply.SetEnabled(false); });
  Press(setup.cmdModify);
  EXPECT_FALSE(setup.Enabled());
  ASSERT_TRUE(modify.Visible());
  EXPECT_EQ(modify.txtModify.Text(), "Casino");
  a.Do([&] { modify.PressEnter(); });
  EXPECT_FALSE(modify.Loaded());
  EXPECT_TRUE(setup.Enabled());
  EXPECT_EQ(Entries(), (std::vector<Entry>{{"Casino", true}, {"Poker", true}}));
  EXPECT_TRUE(setup.cmdApply.Enabled());
}

TEST_F(ModifyTest, ARewrittenEntryLandsAtItsSortedPlaceTicked) {
  Change("Casino", "Roulette");
  EXPECT_EQ(Entries(), (std::vector<Entry>{{"Poker", true}, {"Roulette", true}}));
  EXPECT_EQ(setup.List1.ListIndex(), 1);
  Change("Poker", "poker");  // another letter case is another word
  EXPECT_EQ(Entries(), (std::vector<Entry>{{"poker", true}, {"Roulette", true}}));
}

TEST_F(ModifyTest, TheTextOfAnotherEntryLeavesBothAndTicksTheOther) {
  a.Do([&] { setup.List1.ClickCheckBox(1); });  // Poker unticked
  Change("Casino", "Poker");
  EXPECT_EQ(Entries(), (std::vector<Entry>{{"Casino", false}, {"Poker", true}}));
  EXPECT_EQ(setup.List1.ListIndex(), 1);
}

TEST_F(ModifyTest, EmptyTextEscapeAndTheLengthLimitKeepTheDialog) {
  Click("Casino");
  a.Do([&] { setup.cmdApply.SetEnabled(false); });
  Press(setup.cmdModify);
  a.Do([&] { modify.txtModify.SetText(""); });
  Press(modify.cmdOK);
  EXPECT_TRUE(modify.Visible());
  a.Do([&] { modify.PressEscape(); });
  EXPECT_TRUE(modify.Visible());
  a.Do([&] { modify.txtModify.Type(std::string(300, 'x')); });
  EXPECT_EQ(modify.txtModify.Text().size(), 255u);
  Press(modify.cmdCancel);
  EXPECT_FALSE(modify.Loaded());
  EXPECT_TRUE(setup.Enabled());
  EXPECT_EQ(Entries(), (std::vector<Entry>{{"Casino", false}, {"Poker", true}}));
  EXPECT_FALSE(setup.cmdApply.Enabled());
}

TEST_F(ModifyTest, WithoutACurrentEntryTheTextIsAddedAndNothingRemoved) {
  a.Do([&] { setup.List1.SetListIndex(-1); });
  Press(setup.cmdModify);
  EXPECT_EQ(modify.txtModify.Text(), "");
  a.Do([&] { modify.txtModify.Type("Dice"); });
  Press(modify.cmdOK);
  EXPECT_EQ(Entries(), (std::vector<Entry>{{"Casino", false}, {"Dice", true}, {"Poker", true}}));
}

}  // namespace
}  // namespace pw::test
