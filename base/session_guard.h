#pragma once

namespace pw {

// The watchdog service hands the guard it starts the value of an inherited event handle in this
// environment variable. The event tells the guard it is its session's own (no window of anyone
// makes it step aside as a second copy), and the guard sets it every second so the service sees
// it still answers. Unnamed and held only by the two, the event cannot be set by anyone else.
inline constexpr const char* kAnswerEventVariable = "PAGEWARDEN_ANSWER_EVENT";
// How often the guard answers; the service ends a guard silent for far longer.
inline constexpr int kAnswerPeriod = 1000;

}  // namespace pw
