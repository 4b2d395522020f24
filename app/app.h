#pragma once

#include "about/frm_about.h"
#include "app/platform.h"
#include "app/shared.h"
#include "base/exit_codes.h"
#include "monitor/frm_cover.h"
#include "monitor/frm_main.h"
#include "monitor/heartbeat.h"
#include "monitor/module1.h"
#include "owner/keeper.h"
#include "passwords/frm_change_password.h"
#include "passwords/frm_password.h"
#include "setup/frm_add_wizard.h"
#include "setup/frm_history.h"
#include "setup/frm_modify.h"
#include "setup/frm_setup.h"
#include "store/registry_module.h"

namespace pw {

// One running copy of the program: its process-wide state and one instance of each window.
class App {
 public:
  explicit App(const Platform& platform);

  // Start-up: loads the monitor (which decides whether this copy stays), then serves events for
  // as long as the monitor is loaded.
  void Run();

  Platform platform;
  // The code the process ends with once Run returns.
  ExitCode exitCode = ExitCode::Plain;
  Shared shared;
  RegistryModule registry;
  owner::Keeper keeper;
  Module1 module1;

  frmMain main;
  frmPassword password;
  frmCover cover;
  frmChangePassword changePassword;
  frmSetup setup;
  frmAddWizard addWizard;
  frmModify modify;
  frmHistory history;
  frmabout about;
  Heartbeat heartbeat;
};

}  // namespace pw
