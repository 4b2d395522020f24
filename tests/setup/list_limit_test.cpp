#include <gtest/gtest.h>

#include <cstdio>

#include "tests/setup/setup_fixture.h"

namespace pw::test {
namespace {

constexpr const char* kFull = "The list is full: 1000 words at most.";

// Readers stop at "Window999": a longer list would lose whatever sorts last at the next load.
class ListLimitTest : public SetupFixture {
 protected:
  // Words "w0000", "w0001", ... stored in list order, unticked.
  void StoreWords(int count) {
    for (int n = 0; n < count; ++n) PutWord(n, Numbered(n) + ",0");
  }
  static std::string Numbered(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "w%04d", n);
    return text;
  }
  void AddThroughWizard(const std::string& word) {
    Press(setup.cmdAdd);
    a.Do([&] { wizard.txtWindow.Type(word); });
    Press(wizard.cmdNext);
    Press(wizard.cmdNext);
  }

  frmAddWizard& wizard = a.app.addWizard;
  frmModify& modify = a.app.modify;
};

TEST_F(ListLimitTest, SeedingAddsOnlyTheDefaultWordsThatFit) {
  StoreWords(995);
  PutSetting("FirstTime", "0");
  Open();
  ASSERT_EQ(setup.List1.ListCount(), 1000);
  const std::vector<Entry> shown = Entries();
  // The first five words in seeding order fit; the others are left out.
  for (const char* word : {"Porn", "Sex", "Teen Girls", "Teen Boys", "Babe"}) {
    EXPECT_NE(std::find(shown.begin(), shown.end(), Entry{word, false}), shown.end()) << word;
  }
  EXPECT_EQ(std::find(shown.begin(), shown.end(), Entry{"Hardcore", false}), shown.end());
  Press(setup.Cmdok);
  EXPECT_EQ(StoredWords().size(), 1000u);
  EXPECT_EQ(Word(999), "w0994,0");  // the last one sorted still stored and read
}

TEST_F(ListLimitTest, WizardRefusesANewWordForAFullListAndSaysSo) {
  StoreWords(1000);
  PutSetting("FirstTime", "1");
  Open();
  AddThroughWizard("aaa");
  EXPECT_TRUE(wizard.Visible());
  EXPECT_EQ(wizard.Label1.Caption(), kFull);
  EXPECT_EQ(setup.List1.ListCount(), 1000);
  EXPECT_FALSE(setup.Enabled());
  Press(wizard.cmdCancel);
  EXPECT_TRUE(setup.Enabled());

  // A word already listed is only ticked, so a full list still takes it.
  AddThroughWizard("w0500");
  EXPECT_FALSE(wizard.Loaded());
  Press(setup.Cmdok);
  EXPECT_EQ(Word(500), "w0500,1");
  EXPECT_EQ(Word(999), "w0999,0");
  EXPECT_FALSE(HasWord(1000));
}

TEST_F(ListLimitTest, ChangeDialogReplacesInAFullListButRefusesToAddToIt) {
  StoreWords(1000);
  PutSetting("FirstTime", "1");
  Open();
  Click("w0000");
  Press(setup.cmdModify);
  a.Do([&] { modify.txtModify.SetText("aaa"); });
  Press(modify.cmdOK);
  EXPECT_FALSE(modify.Loaded());
  EXPECT_EQ(setup.List1.ListCount(), 1000);
  EXPECT_EQ(setup.List1.List(0), "aaa");

  // With no current entry nothing would be replaced: the word would make the list longer.
  a.Do([&] { setup.List1.SetListIndex(-1); });
  Press(setup.cmdModify);
  a.Do([&] { modify.txtModify.SetText("bbb"); });
  Press(modify.cmdOK);
  EXPECT_TRUE(modify.Visible());
  EXPECT_EQ(modify.Label1.Caption(), kFull);
  EXPECT_EQ(setup.List1.ListCount(), 1000);
  Press(modify.cmdCancel);
  Press(setup.Cmdok);
  EXPECT_EQ(Word(0), "aaa,1");
  EXPECT_EQ(Word(999), "w0999,0");
}

}  // namespace
}  // namespace pw::test
