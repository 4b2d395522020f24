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
  // Whether the watchdog service started this process as its session's guard.
  virtual bool SessionGuard() const = 0;
  // Tells that service the guard still answers; nothing for any other copy.
  virtual void Answer() = 0;
};

}  // namespace pw
