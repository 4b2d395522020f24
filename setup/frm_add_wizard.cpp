#include "setup/frm_add_wizard.h"

#include "app/app.h"
#include "base/names.h"

namespace pw {

namespace {

constexpr const char* kNextCaption = "&Next >";
constexpr const char* kFinishCaption = "Finish";

constexpr std::uint32_t kGrey = 0x00808080;
constexpr std::uint32_t kWhite = 0x00FFFFFF;

}  // namespace

frmAddWizard::frmAddWizard(App& app)
    : Form(app.platform.toolkit, "frmAddWizard",
           forms::DialogDesign("Lock an Item", 6945, 4185, kProgramIcon)),
      Image1(*this, "Image1", kWizardPicture, {0, 0, 1935, 3615}),
      Label1(*this, "Label1", "This wizard helps you add a new item to be locked.",
             {2160, 120, 4575, 495}),
      Label2(*this, "Label2", "Type the name of the webpage to lock:", {2160, 720, 3855, 255}),
      txtWindow(*this, "txtWindow", "(appears in the bar at top of window)",
                {2160, 1080, 4575, 375}, 0),
      Line2(*this, "Line2", 0, 3615, 6960, 3615, kGrey),
      Line1(*this, "Line1", 15, 3630, 6960, 3630, kWhite),
      cmdBack(*this, "cmdBack", "< &Back", {3390, 3720, 1095, 375}, 1),
      cmdNext(*this, "cmdNext", kNextCaption, {4485, 3720, 1095, 375}, 2),
      cmdCancel(*this, "cmdCancel", "Cancel", {5715, 3720, 1095, 375}, 3),
      app_(app) {
  Image1.design.stretch = true;
  Label1.design.tabIndex = 5;
  Label2.design.tabIndex = 4;
  cmdBack.design.enabled = false;
  cmdNext.design.enabled = false;
  cmdCancel.design.isCancel = true;

  txtWindow.onChange = [this] { txtWindow_Change(); };
  cmdNext.onClick = [this] { cmdNext_Click(); };
  cmdBack.onClick = [this] { cmdBack_Click(); };
  cmdCancel.onClick = [this] { cmdCancel_Click(); };
}

void frmAddWizard::Form_Load() {
  // The hint is selected so that the first keystroke replaces it.
  txtWindow.SetSelection(0, static_cast<int>(txtWindow.Text().size()));
}

void frmAddWizard::Form_Unload() {
  // Not loaded: there is nothing to enable, and a reference would load it.
  app_.setup.ChildClosed();
}

void frmAddWizard::txtWindow_Change() {
  const bool hasText = !txtWindow.Text().empty();
  cmdNext.SetEnabled(hasText);
  cmdNext.SetDefault(hasText);
}

void frmAddWizard::FocusEntry() {
  txtWindow.SetFocus();
  txtWindow.SetSelection(0, static_cast<int>(txtWindow.Text().size()));
}

void frmAddWizard::cmdNext_Click() {
  if (cmdNext.Caption() != kNextCaption) {
    Finish();
    return;
  }
  cmdNext.SetCaption(kFinishCaption);
  Label1.SetCaption("Check your entry below:");
  Label2.SetVisible(false);
  cmdBack.SetEnabled(true);
  FocusEntry();
}

void frmAddWizard::cmdBack_Click() {
  Label1.SetCaption("This wizard helps you add a new window to be locked.");
  Label2.SetVisible(true);
  cmdBack.SetEnabled(false);
  cmdNext.SetCaption(kNextCaption);
  FocusEntry();
}

void frmAddWizard::Finish() {
  // Taken as typed: blanks and letter case are part of the word. A full list keeps the wizard
  // open with the word, so the user can cancel or make room first.
  if (app_.setup.AddEntry(txtWindow.Text())) {
    Unload();
  } else {
    Label1.SetCaption(frmSetup::kListFull);
  }
}

void frmAddWizard::cmdCancel_Click() {
  Unload();
}

}  // namespace pw
