#pragma once

#include <string>

#include "platform/process.h"

namespace pw {

class Win32Process : public Process {
 public:
  // ExitProcess: no destructor, unload handler or message runs after it.
  [[noreturn]] void EndNow(std::uint32_t exitCode) override;
  std::string ProgramFolder() override;
};

}  // namespace pw
