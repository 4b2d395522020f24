#include "platform/sim/sim_pipes.h"

namespace pw::sim {

bool SimPipes::Create(const std::string& name, int pid, PipeServe serve) {
  return servers_.emplace(name, Server{pid, std::move(serve), false}).second;
}

void SimPipes::Close(const std::string& name) {
  servers_.erase(name);
}

SimPipes::Server* SimPipes::Find(const std::string& name) {
  auto it = servers_.find(name);
  return it == servers_.end() ? nullptr : &it->second;
}

}  // namespace pw::sim
