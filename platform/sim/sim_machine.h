#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_pipes.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_world.h"

namespace pw::sim {

struct KeyStroke {
  Hwnd target = 0;  // the foreground window when it was sent
  std::string key;
  Millis at = 0;
};

// An event a program wrote to the machine's event log itself.
struct LoggedEvent {
  std::uint16_t id = 0;
  bool warning = false;
  std::vector<std::string> strings;
};

// Everything the simulated processes share: virtual time, the desktop, the registry and the
// shell. Declare it before the Apps that run on it, so that it outlives them.
class SimMachine {
 public:
  SimMachine();
  ~SimMachine();

  SimWorld world;
  SimDesktop desktop;
  SimRegistry registry;
  SimShellState shell;
  SimPipes pipes;
  // The process id the service control manager reports for the running service; 0 for none.
  int servicePid = 0;
  std::vector<KeyStroke> keystrokes;
  // Input a sender of keystrokes handles while it waits for its key: what the user gave before
  // it. Runs on the sending process's own thread.
  std::function<void()> onKeystroke;
  int beeps = 0;
  std::vector<LoggedEvent> events;
};

}  // namespace pw::sim
