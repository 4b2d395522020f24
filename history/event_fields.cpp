#include "history/event_fields.h"

namespace pw::history {

std::uint16_t EventId(Kind kind) {
  return static_cast<std::uint16_t>(100 + static_cast<int>(kind));
}

bool EventIsWarning(const Entry& entry) {
  switch (entry.kind) {
    case Kind::GuardEnded:
    case Kind::GuardRestarted:
    case Kind::RecordSetAside:
    case Kind::ServiceProblem:
      return true;
    default:
      return false;
  }
}

std::array<std::string, kEventStrings> EventStrings(const Entry& e) {
  return {OutcomeText(e), e.user, e.program, e.title, e.word, e.detail, std::to_string(e.session)};
}

}  // namespace pw::history
