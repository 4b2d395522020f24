#include "setup/frm_modify.h"

#include "app/app.h"
#include "base/names.h"

namespace pw {

frmModify::frmModify(App& app)
    : Form(app.platform.toolkit, "frmModify",
           forms::DialogDesign("Change", 4530, 1035, kProgramIcon)),
      Label1(*this, "Label1", "Change to:", {240, 120, 2775, 375}),
      txtModify(*this, "txtModify", "", {240, 600, 2895, 295}, 0),
      cmdOK(*this, "cmdOK", "OK", {3360, 120, 975, 360}, 1),
      cmdCancel(*this, "cmdCancel", "Cancel", {3360, 570, 975, 360}, 2),
      app_(app) {
  Label1.design.tabIndex = 3;
  txtModify.design.maxLength = 255;
  cmdOK.design.isDefault = true;

  cmdOK.onClick = [this] { cmdOK_Click(); };
  cmdCancel.onClick = [this] { cmdCancel_Click(); };
}

void frmModify::Form_Unload() {
  app_.setup.ChildClosed();
}

void frmModify::Edit(const std::string& text) {
  txtModify.SetText(text);
  Show();
}

void frmModify::cmdOK_Click() {
  // Taken as typed; a different letter case is a different word. A full list keeps the dialog
  // open with the word.
  const std::string word = txtModify.Text();
  if (word.empty()) return;
  if (app_.setup.ReplaceCurrentEntry(word)) {
    Unload();
  } else {
    Label1.SetCaption(frmSetup::kListFull);
  }
}

void frmModify::cmdCancel_Click() {
  Unload();
}

}  // namespace pw
