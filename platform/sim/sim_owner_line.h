#pragma once

#include <string>

#include "platform/owner_line.h"
#include "platform/sim/sim_machine.h"

namespace pw::sim {

// A guard's way to the service on the simulated machine: the service control manager's word
// comes from the machine, the pipe from its pipe table.
class SimOwnerLine : public OwnerLine {
 public:
  SimOwnerLine(SimMachine& machine, std::string pipeName, PipeCaller caller)
      : machine_(machine), pipeName_(std::move(pipeName)), caller_(caller) {}

  std::uint32_t ServiceProcessId() override;
  std::unique_ptr<PipeConnection> Connect() override;
  void WriteEvent(std::uint16_t id, bool warning, std::span<const std::string> strings) override;

 private:
  SimMachine& machine_;
  std::string pipeName_;
  PipeCaller caller_;
};

}  // namespace pw::sim
