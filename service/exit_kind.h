#pragma once

#include <cstdint>

namespace pw::service {

// What a guard's exit code says about its end.
enum class ExitKind {
  // Log-off or shut-down: the session is ending.
  LoggedOff,
  // An installer closed it to replace or remove the program.
  InstallerClose,
  // It started a fresh copy that takes over.
  HandedOver,
  // Anything else: killed, crashed, or a copy that never became the monitor.
  Other,
};

ExitKind ClassifyExit(std::uint32_t exitCode);

}  // namespace pw::service
