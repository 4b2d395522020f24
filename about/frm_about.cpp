#include "about/frm_about.h"

#include "app/app.h"
#include "base/names.h"

namespace pw {

frmabout::frmabout(App& app)
    : Form(app.platform.toolkit, "frmabout",
           forms::DialogDesign("About", 4710, 3015, kProgramIcon)),
      Image1(*this, "Image1", "", {120, 240, 495, 495}),
      Label1(*this, "Label1", "Label1", {960, 120, 3495, 2175}),
      Command1(*this, "Command1", "OK", {3840, 2520, 735, 375}, 1),
      app_(app) {
  Label1.design.tabIndex = 0;
  Command1.onClick = [this] { Command1_Click(); };
}

std::string frmabout::TitleAndVersion() {
  return "Pagewarden " + std::to_string(PW_VERSION_MAJOR) + "." + std::to_string(PW_VERSION_MINOR) +
         "." + std::to_string(PW_VERSION_PATCH);
}

void frmabout::Form_Load() {
  Image1.SetResource(app_.main.Icon());
  Label1.SetCaption(TitleAndVersion() + "\r" + PW_WEBSITE);
}

void frmabout::Command1_Click() {
  Unload();
}

}  // namespace pw
