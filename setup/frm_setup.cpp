#include "setup/frm_setup.h"

#include "setup/find_entry.h"

#include <array>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "app/app.h"
#include "base/names.h"
#include "store/settings_store.h"

namespace pw {

namespace {

// The entry that can be unticked but neither removed nor rewritten.
constexpr const char* kFixedEntry = "Windows Explorer";
// The readers look at this many stored entries; an entry beyond them would be lost unseen.
constexpr int kMostEntries = kListValueCount;

constexpr std::uint32_t kGrey = 0x00808080;
constexpr std::uint32_t kWhite = 0x00FFFFFF;

// Offered on the first opening, unticked; the list sorts them.
constexpr std::array<const char*, 11> kDefaultWords = {
    "Porn", "Sex", "Teen Girls", "Teen Boys", "Babe", "Hardcore",
    "Nude", "XXX", "Nudist",     "Naked",     "Boob"};

}  // namespace

frmSetup::frmSetup(App& app)
    : Form(app.platform.toolkit, "frmSetup",
           {.caption = "Pagewarden",
            .clientWidth = 6990,
            .clientHeight = 5520,
            .border = forms::BorderStyle::FixedSingle,
            .minButton = true,
            .icon = kProgramIcon}),
      Frame1(*this, "Frame1", "", {0, 0, 1335, 4935}),
      cmdAdd(*this, "cmdAdd", "Lock a Web Page", {120, 120, 1125, 1095}, 5),
      cmdRemove(*this, "cmdRemove", "Remove", {120, 1320, 1125, 375}, 4),
      cmdModify(*this, "cmdModify", "Change", {120, 1800, 1125, 375}, 3),
      Frame2(*this, "Frame2", "", {1320, 0, 5655, 4935}),
      Label1(*this, "Label1", "Locked Web Pages Containing Words:", {120, 240, 5415, 255}),
      List1(*this, "List1", {120, 600, 5415, 3420}, 6),
      Label3(*this, "Label3", "Type the name of the Web Browser to Monitor",
             {120, 4080, 3495, 255}),
      txtwebbrowser(*this, "txtwebbrowser", kDefaultBrowserTitle, {120, 4440, 5415, 375}, 7),
      Cmdok(*this, "Cmdok", "OK", {3360, 5040, 1095, 375}, 2),
      cmdCancel(*this, "cmdCancel", "Cancel", {4560, 5040, 1095, 375}, 1),
      cmdApply(*this, "cmdApply", "Apply", {5760, 5040, 1095, 375}, 0),
      mnuWindows(*this, "mnuWindows", "&File"),
      mnuAdd(*this, "mnuAdd", "&Lock a Web Page...", &mnuWindows),
      mnuRemove(*this, "mnuRemove", "&Remove", &mnuWindows),
      mnuModify(*this, "mnuModify", "&Change...", &mnuWindows),
      mnub4(*this, "mnub4", "-", &mnuWindows),
      mnuSelectAll(*this, "mnuSelectAll", "&Select All", &mnuWindows),
      mnublank4(*this, "mnublank4", "-", &mnuWindows),
      mnuClose(*this, "mnuClose", "Close", &mnuWindows),
      mnuSettings(*this, "mnuSettings", "&Settings"),
      mnuChangePassword(*this, "mnuChangePassword", "&Set Passwords...", &mnuSettings),
      mnuHistory(*this, "mnuHistory", "&History...", &mnuSettings),
      mnub2(*this, "mnub2", "-", &mnuSettings),
      mnupasswordprompt(*this, "mnupasswordprompt", "Don't Display a Password Prompt",
                        &mnuSettings),
      mnub7(*this, "mnub7", "-", &mnuSettings),
      mnuHideMenu(*this, "mnuHideMenu", "Hide Right Click Menu", &mnuSettings),
      mnudisablemenu(*this, "mnudisablemenu", "Disable Right Click Menu", &mnuSettings),
      mnuwatchbrowsers(*this, "mnuwatchbrowsers", "Watch Every Web Browser", &mnuSettings),
      mnuHelp(*this, "mnuHelp", "&Help"),
      mnuvisitwebsite(*this, "mnuvisitwebsite", "&Visit Website", &mnuHelp),
      mnub3(*this, "mnub3", "-", &mnuHelp),
      mnuAbout(*this, "mnuAbout", "&About", &mnuHelp),
      app_(app) {
  Frame1.design.border = false;
  Frame1.design.backColor = kGrey;
  Frame2.design.border = false;
  Frame2.design.backColor = kWhite;
  for (forms::Control* c :
       std::initializer_list<forms::Control*>{&cmdAdd, &cmdRemove, &cmdModify}) {
    c->container = &Frame1;
  }
  for (forms::Control* c :
       std::initializer_list<forms::Control*>{&Label1, &List1, &Label3, &txtwebbrowser}) {
    c->container = &Frame2;
  }
  cmdAdd.design.picture = kProgramIcon;
  Label1.design.transparent = true;
  Label3.design.transparent = true;
  List1.design.sorted = true;
  List1.design.checkBoxes = true;
  cmdApply.design.enabled = false;

  List1.onClick = [this] { List1_Click(); };
  cmdAdd.onClick = [this] { cmdAdd_Click(); };
  cmdRemove.onClick = [this] { cmdRemove_Click(); };
  cmdModify.onClick = [this] { cmdModify_Click(); };
  Cmdok.onClick = [this] { Cmdok_Click(); };
  cmdApply.onClick = [this] { cmdApply_Click(); };
  cmdCancel.onClick = [this] { cmdCancel_Click(); };

  mnuAdd.onClick = [this] { mnuAdd_Click(); };
  mnuRemove.onClick = [this] { mnuRemove_Click(); };
  mnuModify.onClick = [this] { mnuModify_Click(); };
  mnuSelectAll.onClick = [this] { mnuSelectAll_Click(); };
  mnuClose.onClick = [this] { mnuClose_Click(); };
  mnuChangePassword.onClick = [this] { mnuChangePassword_Click(); };
  mnuHistory.onClick = [this] { mnuHistory_Click(); };
  mnupasswordprompt.onClick = [this] { mnupasswordprompt_Click(); };
  mnuHideMenu.onClick = [this] { mnuHideMenu_Click(); };
  mnudisablemenu.onClick = [this] { mnudisablemenu_Click(); };
  mnuwatchbrowsers.onClick = [this] { mnuwatchbrowsers_Click(); };
  mnuvisitwebsite.onClick = [this] { mnuvisitwebsite_Click(); };
  mnuAbout.onClick = [this] { mnuAbout_Click(); };
}

void frmSetup::Form_Load() {
  GetSettings();
  GetWindows();
  if (app_.shared.SetupNeedsAdmin) ShowStoreResult(owner::kNeedsAdmin);
}

void frmSetup::Form_Unload() {
  // The setup password is held only while the window that needs it is open.
  app_.shared.SetupEntry.clear();
  app_.shared.SetupNeedsAdmin = false;
}

void frmSetup::GetSettings() {
  const Preferences preferences = ReadPreferences(app_.registry);
  if (!preferences.browser.empty()) txtwebbrowser.SetText(preferences.browser);
  if (preferences.noPasswordPrompt) mnupasswordprompt.SetChecked(true);
  if (preferences.disableMenu) mnudisablemenu.SetChecked(true);
  if (preferences.hideMenu) mnuHideMenu.SetChecked(true);
  if (preferences.watchEveryBrowser) mnuwatchbrowsers.SetChecked(true);
}

void frmSetup::GetWindows() {
  // A gap or a value that holds no entry is skipped, so one bad value does not hide the rest of
  // the list.
  std::vector<forms::ListEntry> stored;
  for (WordEntry& entry : ReadWordEntries(app_.registry)) {
    // The check state belongs to the entry itself, wherever the sorted list puts it.
    stored.push_back({std::move(entry.text), entry.active});
  }
  List1.AddItems(std::move(stored));

  const std::string firstTime = ReadFirstTime(app_.registry);
  if ((firstTime.empty() && List1.ListCount() == 0) || firstTime == "0") {
    for (const char* word : kDefaultWords) {
      if (HasRoom()) List1.AddItem(word);
    }
  }
  if (List1.ListCount() > 0) List1.SetListIndex(0);
}

Preferences frmSetup::EditedPreferences() {
  const std::string browser = txtwebbrowser.Text();
  return {.browser = browser.empty() ? kDefaultBrowserTitle : browser,
          .noPasswordPrompt = mnupasswordprompt.Checked(),
          .disableMenu = mnudisablemenu.Checked(),
          .hideMenu = mnuHideMenu.Checked(),
          .watchEveryBrowser = mnuwatchbrowsers.Checked()};
}

std::vector<WordEntry> frmSetup::EditedEntries() {
  std::vector<WordEntry> entries;
  const int count = List1.ListCount();
  for (int i = 0; i < count; ++i) entries.push_back({List1.List(i), List1.Selected(i)});
  return entries;
}

bool frmSetup::Store() {
  const owner::Reply reply =
      app_.keeper.StoreSettings(app_.shared.SetupEntry, EditedPreferences(), EditedEntries());
  // Also after a refused or partial store: the monitor should reflect what the registry holds.
  app_.shared.ReloadPending = true;
  const bool stored = reply.answer == owner::Answer::Right;
  ShowStoreResult(stored ? "" : owner::Explain(reply, kSaveFailed));
  return stored;
}

void frmSetup::ShowStoreResult(const std::string& refusal) {
  if (refusal.empty()) {
    Label1.SetCaption(Label1.design.caption);
    Label1.SetForeColor(Label1.design.foreColor);
  } else {
    Label1.SetCaption(refusal);
    Label1.SetForeColor(forms::kColorRed);
  }
}

void frmSetup::List1_Click() {
  cmdApply.SetEnabled(true);
}

void frmSetup::cmdAdd_Click() {
  SetEnabled(false);
  app_.addWizard.Show();
}

void frmSetup::cmdRemove_Click() {
  cmdApply.SetEnabled(true);
  const int index = List1.ListIndex();
  if (index < 0) return;
  // A ticked entry is only unticked: removing an active word takes a second, deliberate press.
  if (List1.Selected(index)) {
    List1.SetSelected(index, false);
  } else if (List1.List(index) != kFixedEntry) {
    List1.RemoveItem(index);
    List1.SetFocus();
  }
}

void frmSetup::cmdModify_Click() {
  const std::string text = List1.List(List1.ListIndex());
  if (text == kFixedEntry) return;
  SetEnabled(false);
  app_.modify.Edit(text);
}

void frmSetup::Cmdok_Click() {
  if (!Store()) {
    // Nothing is lost: the window stays with the edits so the user can see the refusal.
    cmdApply.SetEnabled(true);
    return;
  }
  app_.main.StartTimeDelay(1000);
  Unload();
}

void frmSetup::cmdApply_Click() {
  cmdApply.SetEnabled(!Store());
}

void frmSetup::cmdCancel_Click() {
  Unload();
}

bool frmSetup::AddEntry(const std::string& word) {
  if (FindEntry(List1, word) < 0) {
    if (!HasRoom()) return false;
    List1.AddItem(word);
  }
  MakeCurrentAndTick(word);
  return true;
}

bool frmSetup::ReplaceCurrentEntry(const std::string& word) {
  if (FindEntry(List1, word) < 0) {
    if (List1.ListIndex() < 0 && !HasRoom()) return false;
    List1.RemoveItem(List1.ListIndex());
    List1.AddItem(word);
  }
  MakeCurrentAndTick(word);
  return true;
}

void frmSetup::ChildClosed() {
  if (Loaded()) SetEnabled(true);
}

bool frmSetup::HasRoom() {
  return List1.ListCount() < kMostEntries;
}

void frmSetup::MakeCurrentAndTick(const std::string& text) {
  const int at = FindEntry(List1, text);
  if (at < 0) return;
  List1.SetListIndex(at);
  List1.SetSelected(at, true);
  cmdApply.SetEnabled(true);
}

}  // namespace pw
