#include "app/app.h"
#include "monitor/frm_main.h"

namespace pw {

void frmMain::timTarnwick_Timer() {}
void frmMain::Timer1_Timer() {}

}  // namespace pw
