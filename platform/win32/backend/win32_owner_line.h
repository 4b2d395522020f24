#pragma once

#include "platform/owner_line.h"

namespace pw {

// The guard's way to the service: the service control manager for the service's process id,
// the owner's named pipe for the requests.
class Win32OwnerLine : public OwnerLine {
 public:
  std::uint32_t ServiceProcessId() override;
  std::unique_ptr<PipeConnection> Connect() override;
  void WriteEvent(std::uint16_t id, bool warning, std::span<const std::string> strings) override;
};

}  // namespace pw
