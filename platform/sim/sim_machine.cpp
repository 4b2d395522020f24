#include "platform/sim/sim_machine.h"

namespace pw::sim {

SimMachine::SimMachine()
    : desktop([this] { return world.Now(); }), registry(&world), shell(desktop) {
  world.onProcessEnded = [this](int pid) { desktop.DestroyWindowsOf(pid); };
}

SimMachine::~SimMachine() {
  world.onProcessEnded = nullptr;
}

}  // namespace pw::sim
