#include "app/app.h"
#include "monitor/frm_main.h"

namespace pw {

void frmMain::Form_MouseMove(int button, int shift, float x, float y) {
  (void)button, (void)shift, (void)x, (void)y;
}
void frmMain::Form_QueryUnload(int& cancel, int unloadMode) {
  (void)cancel, (void)unloadMode;
}
void frmMain::mnuTWKSetup_Click() {}
void frmMain::mnuDeactivate_Click() {}
void frmMain::mnuReactivate_Click() {}
void frmMain::mnuLockAllWindows2_Click() {}
void frmMain::mnuAbout_Click() {}
void frmMain::mnuabout2_Click() {}

}  // namespace pw
