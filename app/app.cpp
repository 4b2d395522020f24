#include "app/app.h"

namespace pw {

App::App(const Platform& p)
    : platform(p),
      registry(p.registry),
      keeper(p.registry, registry, p.owner),
      module1(*this),
      main(*this),
      password(*this),
      cover(*this),
      changePassword(*this),
      setup(*this),
      addWizard(*this),
      modify(*this),
      history(*this),
      about(*this),
      heartbeat(*this) {}

void App::Run() {
  main.Load();
  while (main.Loaded()) platform.toolkit.DoEvents();
}

}  // namespace pw
