#include <gtest/gtest.h>

#include "tests/setup/setup_fixture.h"

namespace pw::test {
namespace {

const std::vector<Entry> kSeededWords = {
    {"Babe", false},      {"Boob", false},       {"Hardcore", false}, {"Naked", false},
    {"Nude", false},      {"Nudist", false},     {"Porn", false},     {"Sex", false},
    {"Teen Boys", false}, {"Teen Girls", false}, {"XXX", false}};

using SetupWindowTest = SetupFixture;

TEST_F(SetupWindowTest, EmptyRegistrySeedsTheDefaultWordsOnceAndOkStoresThem) {
  Open();
  ASSERT_TRUE(setup.Visible());
  EXPECT_EQ(setup.Caption(), "Pagewarden");
  EXPECT_EQ(Entries(), kSeededWords);
  EXPECT_EQ(setup.List1.ListIndex(), 0);
  EXPECT_TRUE(setup.cmdApply.Enabled());  // making the first entry current counts as a click
  EXPECT_EQ(setup.txtwebbrowser.Text(), "Internet Explorer");
  EXPECT_TRUE(StoredWords().empty());  // seeding alone stores nothing

  Press(setup.Cmdok);
  EXPECT_FALSE(setup.Loaded());
  EXPECT_EQ(Setting("FirstTime"), "1");
  ASSERT_EQ(StoredWords().size(), 11u);
  EXPECT_EQ(Word(0), "Babe,0");
  EXPECT_EQ(Word(7), "Sex,0");
  EXPECT_EQ(Word(10), "XXX,0");
  EXPECT_EQ(Setting("webbrowser"), "Internet Explorer");
  EXPECT_EQ(Setting("passwordprompt"), "0");
  EXPECT_EQ(Setting("disablemenu"), "0");
  EXPECT_EQ(Setting("HideMenu"), "0");
  EXPECT_TRUE(a.app.shared.ReloadPending);
  EXPECT_TRUE(a.app.main.tmrTimeDelay.Enabled());
  EXPECT_EQ(a.app.main.tmrTimeDelay.Interval(), 1000);

  Open();
  EXPECT_EQ(Entries(), kSeededWords);  // not seeded a second time
}

TEST_F(SetupWindowTest, OpeningShowsStoredEntriesAndSettings) {
  PutWord(0, "Babe,1");
  PutWord(1, "Sex,0");
  PutSetting("FirstTime", "1");
  PutSetting("webbrowser", "Firefox");
  PutSetting("passwordprompt", "1");
  PutSetting("HideMenu", "yes");  // only "1" is on
  PutSetting("disablemenu", "-1");
  Open();
  EXPECT_EQ(Entries(), (std::vector<Entry>{{"Babe", true}, {"Sex", false}}));
  EXPECT_EQ(setup.List1.ListIndex(), 0);
  EXPECT_TRUE(setup.cmdApply.Enabled());
  EXPECT_EQ(setup.ActiveControl(), &setup.cmdApply);  // first in tab order, enabled by the load
  EXPECT_EQ(setup.txtwebbrowser.Text(), "Firefox");
  EXPECT_TRUE(setup.mnupasswordprompt.Checked());
  EXPECT_FALSE(setup.mnuHideMenu.Checked());
  EXPECT_FALSE(setup.mnudisablemenu.Checked());
}

TEST_F(SetupWindowTest, SeedingDependsOnTheFirstRunMarkerAndTheStoredList) {
  PutSetting("FirstTime", "1");
  Open();  // marker set, nothing stored: an empty list with nothing to click
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(setup.List1.ListIndex(), -1);
  EXPECT_FALSE(setup.cmdApply.Enabled());
  EXPECT_EQ(setup.ActiveControl(), &setup.cmdCancel);
  Press(setup.cmdCancel);

  machine.registry.PutString(HKEY_LOCAL_MACHINE_, kSettingsPath, "FirstTime", "");
  PutWord(0, "Casino,1");
  Open();  // no marker, but a stored list: no seeding either
  EXPECT_EQ(Entries(), (std::vector<Entry>{{"Casino", true}}));
  Press(setup.cmdCancel);

  // "0" from outside seeds at every opening until the list is stored.
  PutSetting("FirstTime", "0");
  PutWord(1, "Poker,0");
  PutWord(2, "Zebra,1");
  Open();
  EXPECT_EQ(Entries().size(), 14u);
  Reopen();
  EXPECT_EQ(Entries().size(), 14u);
  Press(setup.Cmdok);
  EXPECT_EQ(Setting("FirstTime"), "1");
  Open();
  EXPECT_EQ(Entries().size(), 14u);
  EXPECT_EQ(Entries().front(), (Entry{"Babe", false}));
  EXPECT_EQ(Entries().back(), (Entry{"Zebra", true}));
}

TEST_F(SetupWindowTest, RemoveUnticksFirstAndSparesTheFixedEntry) {
  PutWord(0, "Babe,1");
  PutWord(1, "Sex,0");
  PutWord(2, "Windows Explorer,0");
  PutSetting("FirstTime", "1");
  Open();
  a.Do([&] { setup.cmdApply.SetEnabled(false); });
  Click("Babe");
  a.Do([&] { setup.cmdApply.SetEnabled(false); });
  Press(setup.cmdRemove);
  EXPECT_TRUE(setup.cmdApply.Enabled());
  EXPECT_EQ(Entries()[0], (Entry{"Babe", false}));
  Press(setup.cmdRemove);
  EXPECT_EQ(Entries(), (std::vector<Entry>{{"Sex", false}, {"Windows Explorer", false}}));
  EXPECT_EQ(setup.List1.ListIndex(), -1);
  EXPECT_EQ(setup.ActiveControl(), &setup.List1);

  Press(setup.cmdRemove);  // no current entry: nothing to remove
  EXPECT_EQ(Entries().size(), 2u);

  Click("Windows Explorer");
  Press(setup.cmdRemove);
  EXPECT_EQ(Entries().size(), 2u);
  a.Do([&] { setup.List1.ClickCheckBox(1); });
  Press(setup.cmdRemove);  // ticked, it can be unticked like any other
  EXPECT_EQ(Entries()[1], (Entry{"Windows Explorer", false}));

  Press(setup.cmdModify);  // and it cannot be rewritten
  EXPECT_TRUE(setup.Enabled());
  EXPECT_FALSE(a.app.modify.Loaded());
}

// A click on an entry's check box makes that entry current, so Apply comes back and Remove
// acts on the entry just clicked.
TEST_F(SetupWindowTest, TheListActsOnTheEntryClickedAfterApply) {
  PutWord(0, "Babe,1");
  PutWord(1, "Poker,0");
  PutWord(2, "Sex,0");
  PutSetting("FirstTime", "1");
  Open();
  Press(setup.cmdApply);
  ASSERT_FALSE(setup.cmdApply.Enabled());
  a.Do([&] { setup.List1.ClickCheckBox(2); });
  EXPECT_EQ(setup.List1.ListIndex(), 2);
  EXPECT_TRUE(setup.cmdApply.Enabled());
  Press(setup.cmdApply);
  EXPECT_EQ(Word(2), "Sex,1");

  a.Do([&] { setup.List1.ClickEntry(2); });  // the entry already current
  EXPECT_TRUE(setup.cmdApply.Enabled());
  Press(setup.cmdApply);
  a.Do([&] { setup.List1.PressSpace(); });
  EXPECT_TRUE(setup.cmdApply.Enabled());
  EXPECT_EQ(Entries()[2], (Entry{"Sex", false}));

  a.Do([&] { setup.List1.ClickCheckBox(1); });
  Press(setup.cmdRemove);  // ticked by the click: unticked
  EXPECT_EQ(Entries()[1], (Entry{"Poker", false}));
  Press(setup.cmdRemove);
  EXPECT_EQ(Entries(), (std::vector<Entry>{{"Babe", true}, {"Sex", false}}));
}

TEST_F(SetupWindowTest, ApplyStoresAndStaysOpenAndALaterCancelUndoesNothing) {
  PutWord(0, "Babe,0");
  PutSetting("FirstTime", "1");
  Open();
  a.Do([&] { setup.List1.ClickCheckBox(0); });
  Press(setup.cmdApply);
  EXPECT_TRUE(setup.Visible());
  EXPECT_FALSE(setup.cmdApply.Enabled());
  EXPECT_EQ(Word(0), "Babe,1");
  EXPECT_TRUE(a.app.shared.ReloadPending);
  EXPECT_FALSE(a.app.main.tmrTimeDelay.Enabled());  // only OK arms the delay

  a.Do([&] {
    setup.List1.ClickCheckBox(0);
    setup.txtwebbrowser.SetText("");
  });
  Press(setup.cmdCancel);
  EXPECT_FALSE(setup.Loaded());
  EXPECT_EQ(Word(0), "Babe,1");
  EXPECT_EQ(Setting("webbrowser"), "Internet Explorer");
}

TEST_F(SetupWindowTest, AnEmptyBrowserBoxStoresTheDefaultAndTheCloseBoxStoresNothing) {
  PutSetting("FirstTime", "1");
  PutSetting("webbrowser", "Opera");
  Open();
  EXPECT_EQ(setup.txtwebbrowser.Text(), "Opera");
  a.Do([&] { setup.txtwebbrowser.SetText(""); });
  a.Do([&] { setup.RequestClose(forms::kUnloadCloseCommand); });
  EXPECT_FALSE(setup.Loaded());
  EXPECT_EQ(Setting("webbrowser"), "Opera");
  EXPECT_FALSE(a.app.shared.ReloadPending);

  Open();
  a.Do([&] { setup.txtwebbrowser.SetText(""); });
  Press(setup.Cmdok);
  EXPECT_EQ(Setting("webbrowser"), "Internet Explorer");
  Open();
  EXPECT_EQ(setup.txtwebbrowser.Text(), "Internet Explorer");
}

// A list stored out of order, with a gap and a value too short to hold an entry: every entry
// keeps its own check mark and nothing after the gap is lost.
TEST_F(SetupWindowTest, CheckMarksFollowTheirEntriesAcrossDisorderGapsAndShortValues) {
  PutWord(0, "Sex,1");
  PutWord(1, "Babe,0");  // sorts before Sex
  PutWord(3, "Nude,1");  // after a gap
  PutWord(4, "1");       // a flag with no room for an entry
  PutWord(5, "Porn,1");
  PutSetting("FirstTime", "1");
  Open();
  EXPECT_EQ(Entries(),
            (std::vector<Entry>{{"Babe", false}, {"Nude", true}, {"Porn", true}, {"Sex", true}}));
  EXPECT_EQ(setup.List1.ListIndex(), 0);
  Press(setup.Cmdok);
  EXPECT_EQ(StoredWords(), (std::vector<std::string>{"Babe,0", "Nude,1", "Porn,1", "Sex,1"}));
}

TEST_F(SetupWindowTest, ShorteningTheListDeletesTheValuesBeyondItsNewEnd) {
  PutWord(0, "Babe,1");
  PutWord(1, "Nude,1");
  PutWord(2, "Sex,1");
  PutSetting("FirstTime", "1");
  Open();
  Click("Babe");
  Press(setup.cmdRemove);
  Press(setup.cmdRemove);
  Press(setup.Cmdok);
  EXPECT_EQ(StoredWords(), (std::vector<std::string>{"Nude,1", "Sex,1"}));
  EXPECT_FALSE(HasWord(2));
  Open();
  EXPECT_EQ(Entries(), (std::vector<Entry>{{"Nude", true}, {"Sex", true}}));
}

TEST_F(SetupWindowTest, RefusedWritesKeepTheWindowOpenAndSaySo) {
  PutWord(0, "Babe,0");
  PutSetting("FirstTime", "1");
  machine.registry.RefuseWritesUnder(HKEY_LOCAL_MACHINE_, "SOFTWARE");
  Open();
  a.Do([&] { setup.List1.ClickCheckBox(0); });
  Press(setup.Cmdok);
  ASSERT_TRUE(setup.Loaded());
  EXPECT_TRUE(setup.Visible());
  EXPECT_EQ(setup.Label1.Caption(), frmSetup::kSaveFailed);
  EXPECT_EQ(setup.Label1.ForeColor(), forms::kColorRed);
  EXPECT_TRUE(setup.cmdApply.Enabled());
  EXPECT_FALSE(a.app.main.tmrTimeDelay.Enabled());
  EXPECT_EQ(Word(0), "Babe,0");
  EXPECT_EQ(Entries(), (std::vector<Entry>{{"Babe", true}}));  // the edit is still there

  Press(setup.cmdApply);
  EXPECT_TRUE(setup.cmdApply.Enabled());
  EXPECT_EQ(setup.Label1.Caption(), frmSetup::kSaveFailed);
}

TEST_F(SetupWindowTest, APartialStoreIsReportedAndStillReloadsTheMonitor) {
  PutSetting("FirstTime", "1");
  machine.registry.RefuseWritesUnder(HKEY_LOCAL_MACHINE_, kWindowsPath);
  Open();
  a.Do([&] {
    setup.List1.SetListIndex(setup.List1.AddItem("Casino"));
    setup.txtwebbrowser.SetText("Firefox");
  });
  Press(setup.cmdApply);
  EXPECT_EQ(setup.Label1.Caption(), frmSetup::kSaveFailed);
  EXPECT_TRUE(setup.cmdApply.Enabled());
  EXPECT_EQ(Setting("webbrowser"), "Firefox");
  EXPECT_FALSE(HasWord(0));
  EXPECT_TRUE(a.app.shared.ReloadPending);

  machine.registry.AllowWrites();
  Press(setup.cmdApply);  // the refusal is lifted: the message goes away
  EXPECT_EQ(setup.Label1.Caption(), "Locked Web Pages Containing Words:");
  EXPECT_NE(setup.Label1.ForeColor(), forms::kColorRed);
  EXPECT_FALSE(setup.cmdApply.Enabled());
  EXPECT_EQ(Word(0), "Casino,0");
}

TEST_F(SetupWindowTest, AThousandEntriesRoundTripAndHigherNumbersAreLeftAlone) {
  for (int n = 0; n < 1000; ++n) {
    char word[16];
    std::snprintf(word, sizeof word, "w%03d,%d", n, n % 2);
    PutWord(n, word);
  }
  PutWord(1000, "Beyond,1");
  PutWord(1234, "Far,0");
  PutSetting("FirstTime", "1");
  Open();
  ASSERT_EQ(setup.List1.ListCount(), 1000);
  EXPECT_EQ(Entries()[999], (Entry{"w999", true}));
  Press(setup.Cmdok);
  EXPECT_EQ(Word(0), "w000,0");
  EXPECT_EQ(Word(999), "w999,1");
  EXPECT_EQ(StoredWords().size(), 1000u);
  EXPECT_EQ(Word(1000), "Beyond,1");
  EXPECT_EQ(Word(1234), "Far,0");
  EXPECT_EQ(machine.registry.OpenHandleCount(), 0);
}

TEST_F(SetupWindowTest, OddStoredValuesLoadByTheirLastCharacterAndSurviveASave) {
  PutWord(0, "a,b,1,1");  // commas and digits belong to the entry
  PutWord(1, "2,0");
  PutWord(2, ",1");   // an empty entry, active
  PutWord(3, "x;1");  // the character before the flag is not looked at
  PutWord(4, "odd,2");
  PutWord(5, "");
  PutSetting("FirstTime", "1");
  Open();
  EXPECT_EQ(Entries(),
            (std::vector<Entry>{{"", true}, {"2", false}, {"a,b,1", true}, {"x", true}}));
  Press(setup.Cmdok);
  EXPECT_EQ(StoredWords(), (std::vector<std::string>{",1", "2,0", "a,b,1,1", "x,1"}));
  Open();
  EXPECT_EQ(Entries().size(), 4u);
}

// The monitor and its setup window share one registry: OK reaches the monitor's word list at
// its next watcher tick.
TEST_F(SetupWindowTest, OkMakesTheMonitorLockTheNewWordsWithinOneWatcherTick) {
  PutWord(0, "Poker,1");
  PutSetting("FirstTime", "1");
  frmMain& monitor = a.app.main;
  Open();
  a.Do([&] {
    setup.List1.AddItem("Casino");
    setup.List1.SetSelected(0, true);
    setup.List1.SetSelected(1, false);
  });
  Press(setup.Cmdok);
  machine.world.RunFor(250);
  EXPECT_FALSE(a.app.shared.ReloadPending);
  ASSERT_EQ(monitor.List1.ListCount(), 1);
  EXPECT_EQ(monitor.List1.List(0), "casino");
  EXPECT_TRUE(monitor.timTarnwick.Enabled());
}

}  // namespace
}  // namespace pw::test
