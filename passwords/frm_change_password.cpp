#include "passwords/frm_change_password.h"

#include "app/app.h"

namespace pw {

frmChangePassword::frmChangePassword(App& app)
    : Form(app.platform.toolkit, "frmChangePassword"), app_(app) {}

}  // namespace pw
