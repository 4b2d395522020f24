#include "setup/frm_modify.h"

#include "app/app.h"

namespace pw {

frmModify::frmModify(App& app) : Form(app.platform.toolkit, "frmModify"), app_(app) {}

}  // namespace pw
