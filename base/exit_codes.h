#pragma once

#include <cstdint>

namespace pw {

// How pgwatch.exe ends, for the watchdog service that restarts a guard someone killed. The
// values are unlikely as the code of a killed process (Task Manager uses 1) or of a crash.
enum class ExitCode : std::uint32_t {
  // A second copy that handed its request to the running monitor, or a failed start.
  Plain = 0,
  // Windows is logging the user off or shutting down.
  LoggedOff = 0x50570001,
  // An installer asked the program to close so that its files can be replaced.
  InstallerClose = 0x50570002,
  // A fresh copy was started and takes over as the monitor.
  HandedOver = 0x50570003,
};

}  // namespace pw
