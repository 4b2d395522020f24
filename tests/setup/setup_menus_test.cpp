#include <gtest/gtest.h>

#include "tests/setup/setup_fixture.h"

namespace pw::test {
namespace {

using SetupMenusTest = SetupFixture;

std::vector<std::string> Captions(forms::MenuItem& menu) {
  std::vector<std::string> captions;
  for (forms::MenuItem* item : menu.Items()) captions.push_back(item->Caption());
  return captions;
}

TEST_F(SetupMenusTest, MenuBarHoldsTheThreeMenusInOrder) {
  Open();
  const std::vector<forms::MenuItem*> bar = setup.MenuBar();
  ASSERT_EQ(bar.size(), 3u);
  EXPECT_EQ(bar[0], &setup.mnuWindows);
  EXPECT_EQ(bar[0]->Caption(), "&File");
  EXPECT_EQ(bar[1]->Caption(), "&Settings");
  EXPECT_EQ(bar[2]->Caption(), "&Help");
  EXPECT_EQ(Captions(setup.mnuWindows),
            (std::vector<std::string>{"&Lock a Web Page...", "&Remove", "&Change...", "-",
                                      "&Select All", "-", "Close"}));
  EXPECT_EQ(Captions(setup.mnuSettings),
            (std::vector<std::string>{
                "&Set Passwords...", "&History...", "-", "Don't Display a Password Prompt", "-",
                "Hide Right Click Menu", "Disable Right Click Menu", "Watch Every Web Browser"}));
  EXPECT_EQ(Captions(setup.mnuHelp), (std::vector<std::string>{"&Visit Website", "-", "&About"}));
}

TEST_F(SetupMenusTest, SwitchesToggleTheirMarkAndAreStoredOnlyByApply) {
  PutSetting("FirstTime", "1");
  Open();
  ASSERT_FALSE(setup.cmdApply.Enabled());
  Press(setup.mnuHideMenu);
  Press(setup.mnuHideMenu);
  EXPECT_FALSE(setup.mnuHideMenu.Checked());
  EXPECT_TRUE(setup.cmdApply.Enabled());  // twice is back to the start but still a change

  Press(setup.mnupasswordprompt);
  EXPECT_TRUE(setup.mnupasswordprompt.Checked());
  EXPECT_EQ(Setting("passwordprompt"), "");
  Press(setup.cmdApply);
  EXPECT_EQ(Setting("passwordprompt"), "1");
  EXPECT_EQ(Setting("HideMenu"), "0");
  Reopen();
  EXPECT_TRUE(setup.mnupasswordprompt.Checked());
}

TEST_F(SetupMenusTest, WatchEveryWebBrowserIsOnUnlessStoredOff) {
  PutSetting("FirstTime", "1");
  PutSetting("WatchAllBrowsers", "yes");  // anything but "0" is on
  Open();
  EXPECT_TRUE(setup.mnuwatchbrowsers.Checked());
  Press(setup.mnuwatchbrowsers);
  Press(setup.cmdApply);
  EXPECT_EQ(Setting("WatchAllBrowsers"), "0");
  Reopen();
  EXPECT_FALSE(setup.mnuwatchbrowsers.Checked());
}

TEST_F(SetupMenusTest, DisableRightClickMenuRemovesAndRestoresTheTrayIconAfterApply) {
  PutSetting("FirstTime", "1");
  ASSERT_EQ(machine.shell.icons.size(), 1u);
  Open();
  Press(setup.mnudisablemenu);
  Press(setup.cmdCancel);  // dropped
  machine.world.RunFor(300);
  EXPECT_EQ(Setting("disablemenu"), "");
  EXPECT_EQ(machine.shell.icons.size(), 1u);

  Open();
  Press(setup.mnudisablemenu);
  Press(setup.cmdApply);
  EXPECT_EQ(Setting("disablemenu"), "1");
  machine.world.RunFor(250);
  EXPECT_TRUE(machine.shell.icons.empty());
  Press(setup.mnudisablemenu);
  Press(setup.cmdApply);
  machine.world.RunFor(250);
  EXPECT_EQ(machine.shell.icons.size(), 1u);
}

TEST_F(SetupMenusTest, SelectAllTicksEveryEntryAndCloseStoresLikeOk) {
  PutSetting("FirstTime", "1");
  Open();
  Press(setup.mnuSelectAll);  // empty list: nothing, not even a current entry
  EXPECT_EQ(setup.List1.ListIndex(), -1);
  EXPECT_FALSE(setup.cmdApply.Enabled());
  Press(setup.cmdCancel);

  for (int n = 0; n < 5; ++n) PutWord(n, std::string(1, static_cast<char>('a' + n)) + ",0");
  Open();
  Click("c");
  Press(setup.mnuSelectAll);
  EXPECT_EQ(setup.List1.ListIndex(), 0);
  for (const Entry& entry : Entries()) EXPECT_TRUE(entry.second) << entry.first;
  Press(setup.mnuClose);
  EXPECT_FALSE(setup.Loaded());
  EXPECT_EQ(StoredWords(), (std::vector<std::string>{"a,1", "b,1", "c,1", "d,1", "e,1"}));
  EXPECT_TRUE(a.app.shared.ReloadPending);
  EXPECT_TRUE(a.app.main.tmrTimeDelay.Enabled());
}

TEST_F(SetupMenusTest, ListCommandsOfTheFileMenuActLikeTheButtons) {
  PutWord(0, "Babe,1");
  PutSetting("FirstTime", "1");
  Open();
  Press(setup.mnuRemove);
  EXPECT_EQ(Entries(), (std::vector<Entry>{{"Babe", false}}));
  Press(setup.mnuModify);
  EXPECT_FALSE(setup.Enabled());
  EXPECT_EQ(a.app.modify.txtModify.Text(), "Babe");
  Press(a.app.modify.cmdCancel);
  EXPECT_TRUE(setup.Enabled());
  Press(setup.mnuAdd);
  EXPECT_FALSE(setup.Enabled());
  EXPECT_TRUE(a.app.addWizard.Visible());
}

TEST_F(SetupMenusTest, AboutLeavesTheWindowUsableAndSetPasswordsDisablesIt) {
  Open();
  Press(setup.mnuAbout);
  EXPECT_TRUE(a.app.about.Visible());
  EXPECT_TRUE(setup.Enabled());
  Press(setup.mnuChangePassword);
  EXPECT_FALSE(setup.Enabled());
  EXPECT_TRUE(a.app.changePassword.Visible());
  Press(setup.mnuClose);  // the disabled window's menu bar takes no input
  EXPECT_TRUE(setup.Visible());
  Press(a.app.changePassword.cmdCancel);
  EXPECT_TRUE(setup.Enabled());
}

TEST_F(SetupMenusTest, VisitWebsiteOpensTheMakersAddress) {
  Open();
  Press(setup.mnuvisitwebsite);
  ASSERT_EQ(machine.shell.opened.size(), 1u);
  const sim::OpenedDocument& opened = machine.shell.opened[0];
  EXPECT_EQ(opened.owner, setup.hWnd());
  EXPECT_EQ(opened.operation, "Open");
  EXPECT_EQ(opened.file, PW_WEBSITE);
  EXPECT_EQ(opened.directory, a.app.shared.AppFolder);
  EXPECT_EQ(opened.showCommand, 1);
}

}  // namespace
}  // namespace pw::test
