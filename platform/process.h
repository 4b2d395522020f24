#pragma once

#include <cstdint>
#include <string>

namespace pw {

class Process {
 public:
  virtual ~Process() = default;

  // Ends the process at once with the given exit code: no unload handler runs.
  [[noreturn]] virtual void EndNow(std::uint32_t exitCode) = 0;
  // The folder of the program file, without a trailing backslash (a drive root keeps its own).
  virtual std::string ProgramFolder() = 0;
};

}  // namespace pw
