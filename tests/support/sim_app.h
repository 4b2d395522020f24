#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "platform/sim/sim_host.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/sim_owner_line.h"

namespace pw::test {

// What the user sees: the window loaded and shown. Asking does not load it.
inline bool Shown(forms::Form& form) {
  return form.Loaded() && form.Visible();
}

// A copy of the program on a simulated machine, running on a simulated process of its own.
class SimApp {
 public:
  // Who runs the copy. The owner's token may write HKEY_LOCAL_MACHINE, as the tests of the
  // program without the service assume; a standard user reads it only.
  enum class User { Owner, Standard };

  explicit SimApp(sim::SimMachine& machine, std::string name = "pgwatch.exe",
                  User user = User::Owner);
  // The same with a window system of the test's own in place of the simulated one.
  SimApp(sim::SimMachine& machine, WindowSystem& windows);
  ~SimApp();
  SimApp(const SimApp&) = delete;
  SimApp& operator=(const SimApp&) = delete;

  // Starts the program; it runs its start-up at once.
  void Start();
  bool Alive() const;
  bool Ended() const;

  // Runs an action as the user or the system on the program's own thread, now, and lets the
  // machine run until nothing more is due at this moment.
  void Do(std::function<void()> action);
  // The same at a later virtual time; the machine is not run.
  void At(Millis when, std::function<void()> action);

  // What the user sees: the password prompt loaded and shown.
  bool PromptShown() { return Shown(app.password); }

  sim::SimMachine& machine;
  sim::SimHost host;
  sim::SimOwnerLine ownerLine;
  App app;
};

template <class Windows>
struct OwnWindows {
  explicit OwnWindows(sim::SimDesktop& desktop) : windows(desktop) {}
  Windows windows;
};

// A copy whose window system is a test's own kind of the simulated one, built first and ended
// last so that the copy never sees it gone.
template <class Windows>
class SimAppWith : private OwnWindows<Windows>, public SimApp {
 public:
  explicit SimAppWith(sim::SimMachine& machine)
      : OwnWindows<Windows>(machine.desktop), SimApp(machine, this->windows) {}
  using OwnWindows<Windows>::windows;
};

// Starts fresh copies when a program asks the shell to start one, as Windows would.
class Launcher {
 public:
  explicit Launcher(sim::SimMachine& machine);
  ~Launcher();

  SimApp& Launch();
  std::vector<std::unique_ptr<SimApp>>& Apps() { return apps_; }
  // Starts fail while this is set.
  bool failStarts = false;
  // Only paths ending like this start the program.
  std::string programName = "pgwatch.exe";

 private:
  sim::SimMachine& machine_;
  std::vector<std::unique_ptr<SimApp>> apps_;
};

}  // namespace pw::test
