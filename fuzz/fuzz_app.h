#pragma once

#include <functional>
#include <map>
#include <utility>

#include "app/app.h"
#include "platform/sim/sim_host.h"
#include "platform/sim/sim_machine.h"

namespace pw::fuzz {

// The window system of a copy of the program, counting how often it froze each window.
class CountingWindows : public sim::SimWindowSystem {
 public:
  explicit CountingWindows(sim::SimDesktop& desktop) : SimWindowSystem(desktop) {}

  bool EnableWindow(Hwnd window, bool enable) override {
    if (!enable) ++freezes[window];
    return SimWindowSystem::EnableWindow(window, enable);
  }

  std::map<Hwnd, int> freezes;
};

// A copy of the program on a simulated machine whose values the fuzzer has placed. It starts
// when the first action is done.
class FuzzApp {
 public:
  explicit FuzzApp(sim::SimMachine& m)
      : machine(m),
        host(m, "pgwatch.exe"),
        windows(m.desktop),
        app(Platform{windows, m.registry, host.shell, host.input, host.process, host.toolkit,
                     host.foregroundEvents}) {}
  ~FuzzApp() { machine.world.Kill(host.pid); }
  FuzzApp(const FuzzApp&) = delete;
  FuzzApp& operator=(const FuzzApp&) = delete;

  void Start() {
    machine.world.Start(host.pid, [this] { app.Run(); });
    machine.world.RunFor(0);
  }
  // Runs an action on the program's own thread now, as the user's input would.
  void Do(std::function<void()> action) {
    machine.world.Post(host.pid, std::move(action));
    machine.world.RunFor(0);
  }

  sim::SimMachine& machine;
  sim::SimHost host;
  CountingWindows windows;
  App app;
};

}  // namespace pw::fuzz
