#include "app/app.h"
#include "monitor/frm_main.h"

namespace pw {

void frmMain::StopWindow() {}
void frmMain::SetMousePos() {}
void frmMain::RestrictMouse() {}

}  // namespace pw
