#include "passwords/frm_password.h"

#include "app/app.h"

namespace pw {

frmPassword::frmPassword(App& app) : Form(app.platform.toolkit, "frmPassword"), app_(app) {}

}  // namespace pw
