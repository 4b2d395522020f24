#pragma once

#include <map>

#include "platform/sim/sim_window_system.h"
#include "tests/support/sim_app.h"

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

// A copy of the program on a simulated machine whose values the fuzzer has placed.
using FuzzApp = test::SimAppWith<CountingWindows>;

}  // namespace pw::fuzz
