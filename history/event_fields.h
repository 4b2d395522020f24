#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "history/entry.h"

namespace pw::history {

// How an entry goes to the Windows event log, the same from the service and from a guard
// without one: one event ID per kind (the message table holds its text), and the fields as the
// event's data, always in this order, so that filters and forwarding queries can select them:
// outcome, user, program, title, word, details, session.
inline constexpr std::size_t kEventStrings = 7;
std::uint16_t EventId(Kind kind);
bool EventIsWarning(const Entry& entry);
std::array<std::string, kEventStrings> EventStrings(const Entry& entry);

}  // namespace pw::history
