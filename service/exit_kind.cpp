#include "service/exit_kind.h"

#include "base/exit_codes.h"

namespace pw::service {

ExitKind ClassifyExit(std::uint32_t exitCode) {
  switch (static_cast<ExitCode>(exitCode)) {
    case ExitCode::LoggedOff:
      return ExitKind::LoggedOff;
    case ExitCode::InstallerClose:
      return ExitKind::InstallerClose;
    case ExitCode::HandedOver:
      return ExitKind::HandedOver;
    default:
      return ExitKind::Other;
  }
}

}  // namespace pw::service
