#include "tests/support/sim_app.h"

#include "owner/protocol.h"

namespace pw::test {

namespace {

Platform MakePlatform(sim::SimMachine& machine, sim::SimHost& host, WindowSystem& windows,
                      OwnerLine& owner, SimApp::User user) {
  RegistryApi& registry = user == SimApp::User::Owner ? static_cast<RegistryApi&>(machine.registry)
                                                      : machine.registry.StandardUser();
  return Platform{windows,
                  registry,
                  host.shell,
                  host.input,
                  host.process,
                  host.toolkit,
                  host.foregroundEvents,
                  host.text,
                  owner};
}

sim::PipeCaller CallerOf(SimApp::User user) {
  return {1, user == SimApp::User::Owner, "PC\\child"};
}

}  // namespace

SimApp::SimApp(sim::SimMachine& m, std::string name, User user)
    : machine(m),
      host(m, std::move(name)),
      ownerLine(m, owner::kPipeName, CallerOf(user)),
      app(MakePlatform(m, host, host.windows, ownerLine, user)) {}

SimApp::SimApp(sim::SimMachine& m, WindowSystem& windows)
    : machine(m),
      host(m, "pgwatch.exe"),
      ownerLine(m, owner::kPipeName, CallerOf(User::Owner)),
      app(MakePlatform(m, host, windows, ownerLine, User::Owner)) {}

SimApp::~SimApp() {
  machine.world.Kill(host.pid);
}

void SimApp::Start() {
  machine.world.Start(host.pid, [this] { app.Run(); });
  machine.world.RunFor(0);
}

bool SimApp::Alive() const {
  return machine.world.Alive(host.pid);
}

bool SimApp::Ended() const {
  return machine.world.Ended(host.pid);
}

void SimApp::Do(std::function<void()> action) {
  machine.world.Post(host.pid, std::move(action));
  machine.world.RunFor(0);
}

void SimApp::At(Millis when, std::function<void()> action) {
  machine.world.Post(host.pid, std::move(action), when);
}

Launcher::Launcher(sim::SimMachine& machine) : machine_(machine) {
  machine_.shell.startProgram = [this](const std::string& path, int) {
    if (failStarts || !path.ends_with(programName)) return false;
    auto app = std::make_unique<SimApp>(machine_);
    SimApp& started = *app;
    apps_.push_back(std::move(app));
    machine_.world.Start(started.host.pid, [&started] { started.app.Run(); });
    return true;
  };
}

Launcher::~Launcher() {
  machine_.shell.startProgram = nullptr;
  for (auto it = apps_.rbegin(); it != apps_.rend(); ++it) it->reset();
}

SimApp& Launcher::Launch() {
  apps_.push_back(std::make_unique<SimApp>(machine_));
  apps_.back()->Start();
  return *apps_.back();
}

}  // namespace pw::test
