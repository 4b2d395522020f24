#include "app/app.h"
#include "setup/frm_setup.h"

namespace pw {

void frmSetup::mnuAdd_Click() {
  cmdAdd_Click();
}

void frmSetup::mnuRemove_Click() {
  cmdRemove_Click();
}

void frmSetup::mnuModify_Click() {
  cmdModify_Click();
}

void frmSetup::mnuClose_Click() {
  Cmdok_Click();
}

void frmSetup::mnuSelectAll_Click() {
  const int count = List1.ListCount();
  for (int i = 0; i < count; ++i) List1.SetSelected(i, true);
  if (count > 0) List1.SetListIndex(0);
}

void frmSetup::mnuChangePassword_Click() {
  SetEnabled(false);
  app_.changePassword.Show();
}

void frmSetup::mnuHistory_Click() {
  SetEnabled(false);
  app_.history.Show();
}

// The switches only change their check mark here; OK, Apply or Close store them.
void frmSetup::ToggleSwitch(forms::MenuItem& item) {
  item.SetChecked(!item.Checked());
  cmdApply.SetEnabled(true);
}

void frmSetup::mnupasswordprompt_Click() {
  ToggleSwitch(mnupasswordprompt);
}

void frmSetup::mnuHideMenu_Click() {
  ToggleSwitch(mnuHideMenu);
}

void frmSetup::mnudisablemenu_Click() {
  ToggleSwitch(mnudisablemenu);
}

void frmSetup::mnuwatchbrowsers_Click() {
  ToggleSwitch(mnuwatchbrowsers);
}

void frmSetup::mnuvisitwebsite_Click() {
  app_.platform.shell.ShellExecuteA(hWnd(), "Open", PW_WEBSITE, "", app_.shared.AppFolder, 1);
}

void frmSetup::mnuAbout_Click() {
  app_.about.Show();
}

}  // namespace pw
