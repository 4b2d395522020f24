#pragma once

#include "platform/owner_line.h"
#include "platform/win32/backend/win32_input.h"

namespace pw::win32 {

// The guard's way to the service: the service control manager for the service's process id,
// the owner's named pipe for the requests.
class Win32OwnerLine : public OwnerLine {
 public:
  explicit Win32OwnerLine(Win32Input& input) : input_(input) {}
  std::uint32_t ServiceProcessId() override;
  std::unique_ptr<PipeConnection> Connect() override;
  void WriteEvent(std::uint16_t id, bool warning, std::span<const std::string> strings) override;

 private:
  Win32Input& input_;
};

}  // namespace pw::win32
