#include "setup/frm_add_wizard.h"

#include "app/app.h"

namespace pw {

frmAddWizard::frmAddWizard(App& app) : Form(app.platform.toolkit, "frmAddWizard"), app_(app) {}

}  // namespace pw
