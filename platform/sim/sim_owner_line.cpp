#include "platform/sim/sim_owner_line.h"

namespace pw::sim {

namespace {

class SimConnection : public PipeConnection {
 public:
  SimConnection(SimPipes::Server& server, PipeCaller caller) : server_(server), caller_(caller) {}

  std::uint32_t ServerProcessId() override { return static_cast<std::uint32_t>(server_.pid); }
  std::optional<std::vector<std::uint8_t>> Transact(
      const std::vector<std::uint8_t>& request) override {
    if (server_.hangs) return std::nullopt;
    return server_.serve(request, caller_);
  }

 private:
  SimPipes::Server& server_;
  PipeCaller caller_;
};

}  // namespace

std::uint32_t SimOwnerLine::ServiceProcessId() {
  return static_cast<std::uint32_t>(machine_.servicePid);
}

std::unique_ptr<PipeConnection> SimOwnerLine::Connect() {
  SimPipes::Server* server = machine_.pipes.Find(pipeName_);
  if (server == nullptr) return nullptr;
  return std::make_unique<SimConnection>(*server, caller_);
}

void SimOwnerLine::WriteEvent(std::uint16_t id, bool warning,
                              std::span<const std::string> strings) {
  machine_.events.push_back({id, warning, {strings.begin(), strings.end()}});
}

}  // namespace pw::sim
