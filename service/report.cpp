#include "service/report.h"

#include <cstdio>

namespace pw::service {

namespace {

std::string Hex(std::uint32_t code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(code));
  return text;
}

std::string Seconds(Millis ms) {
  return std::to_string((ms + 999) / 1000) + " s";
}

}  // namespace

std::string Describe(const Report& r) {
  const std::string session = "session " + std::to_string(r.session);
  const std::string ended = "ended with exit code " + Hex(r.exitCode);
  switch (r.kind) {
    case Report::Kind::Started:
      return "Started the guard in " + session + ".";
    case Report::Kind::Restarted:
      return "Restarted the guard in " + session + "; it had " + ended + ".";
    case Report::Kind::RestartDelayed:
      return "The guard in " + session + " " + ended +
             "; it was restarted too often, so the next start waits " + Seconds(r.delay) + ".";
    case Report::Kind::StartFailed:
      return "Could not start the guard in " + session + "; trying again in " + Seconds(r.delay) +
             ".";
    case Report::Kind::EndNotConfirmed:
      return "The guard in " + session + " " + ended +
             " as if the user logged off or an installer closed it, but the session went on.";
    case Report::Kind::Silent:
      return "The guard in " + session + " stopped answering; it was ended and started anew.";
    case Report::Kind::RecoveryNotSet:
      return "Could not set the service to restart when it fails (Windows error " +
             std::to_string(r.exitCode) + ").";
  }
  return {};
}

history::Entry ToEntry(const Report& report) {
  using history::Kind;
  Kind kind = Kind::ServiceProblem;
  switch (report.kind) {
    case Report::Kind::Started:
      kind = Kind::GuardStarted;
      break;
    case Report::Kind::Restarted:
    case Report::Kind::RestartDelayed:
    case Report::Kind::Silent:
      kind = Kind::GuardRestarted;
      break;
    case Report::Kind::StartFailed:
    case Report::Kind::EndNotConfirmed:
      kind = Kind::GuardEnded;
      break;
    case Report::Kind::RecoveryNotSet:
      break;
  }
  history::Entry entry = history::EntryOf(kind);
  entry.session = report.session;
  entry.detail = Describe(report);
  return entry;
}

}  // namespace pw::service
