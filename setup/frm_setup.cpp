#include "setup/frm_setup.h"

#include "app/app.h"

namespace pw {

frmSetup::frmSetup(App& app) : Form(app.platform.toolkit, "frmSetup"), app_(app) {}

}  // namespace pw
