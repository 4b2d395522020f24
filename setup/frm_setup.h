#pragma once

#include <string>
#include <vector>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/list_box.h"
#include "platform/forms/menu.h"
#include "store/settings_store.h"

namespace pw {

class App;

// The setup tool: the locked-word list with a check mark per active word, the browser title
// fragment and, in the menu bar, the three switches of the monitor.
class frmSetup : public forms::Form {
 public:
  explicit frmSetup(App& app);

  static constexpr const char* kSaveFailed =
      "Settings could not be saved: that needs the Pagewarden service or administrator rights.";
  static constexpr const char* kListFull = "The list is full: 1000 words at most.";

  forms::Frame Frame1;
  forms::CommandButton cmdAdd;
  forms::CommandButton cmdRemove;
  forms::CommandButton cmdModify;
  forms::Frame Frame2;
  forms::Label Label1;
  forms::ListBox List1;
  forms::Label Label3;
  forms::TextBox txtwebbrowser;
  forms::CommandButton Cmdok;
  forms::CommandButton cmdCancel;
  forms::CommandButton cmdApply;

  forms::MenuItem mnuWindows;
  forms::MenuItem mnuAdd;
  forms::MenuItem mnuRemove;
  forms::MenuItem mnuModify;
  forms::MenuItem mnub4;
  forms::MenuItem mnuSelectAll;
  forms::MenuItem mnublank4;
  forms::MenuItem mnuClose;
  forms::MenuItem mnuSettings;
  forms::MenuItem mnuChangePassword;
  forms::MenuItem mnuHistory;
  forms::MenuItem mnub2;
  forms::MenuItem mnupasswordprompt;
  forms::MenuItem mnub7;
  forms::MenuItem mnuHideMenu;
  forms::MenuItem mnudisablemenu;
  forms::MenuItem mnuwatchbrowsers;
  forms::MenuItem mnuHelp;
  forms::MenuItem mnuvisitwebsite;
  forms::MenuItem mnub3;
  forms::MenuItem mnuAbout;

  // From the wizard: the word joins the list unless it is there; either way it becomes the
  // current, ticked entry. False, and nothing changes, when the list is full.
  bool AddEntry(const std::string& word);
  // From the change-entry dialog: the word takes the current entry's place (or joins the list
  // when none is current), and becomes current and ticked. False when the list is full.
  bool ReplaceCurrentEntry(const std::string& word);
  // A dialog opened from this window has closed: the window takes input again.
  void ChildClosed();

  void GetSettings();
  void GetWindows();
  // What the window holds now, as it is stored.
  Preferences EditedPreferences();
  std::vector<WordEntry> EditedEntries();

  void List1_Click();
  void cmdAdd_Click();
  void cmdRemove_Click();
  void cmdModify_Click();
  void Cmdok_Click();
  void cmdApply_Click();
  void cmdCancel_Click();

  void mnuAdd_Click();
  void mnuRemove_Click();
  void mnuModify_Click();
  void mnuSelectAll_Click();
  void mnuClose_Click();
  void mnuChangePassword_Click();
  void mnuHistory_Click();
  void mnupasswordprompt_Click();
  void mnuHideMenu_Click();
  void mnudisablemenu_Click();
  void mnuwatchbrowsers_Click();
  void mnuvisitwebsite_Click();
  void mnuAbout_Click();

 protected:
  void Form_Load() override;
  void Form_Unload() override;

 private:
  // The first entry equal to the text becomes current and ticked, and Apply is enabled.
  void MakeCurrentAndTick(const std::string& text);
  // Whether the list can take one more entry.
  bool HasRoom();
  // Stores the list and the settings and asks the monitor to reload; false when the store was
  // refused in whole or in part.
  bool Store();
  // An empty refusal puts the label back as designed; otherwise the label says it in red.
  void ShowStoreResult(const std::string& refusal);
  void ToggleSwitch(forms::MenuItem& item);

  App& app_;
};

}  // namespace pw
