#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pw::history {

// One thing that happened, as the service records it and the History window shows it.
enum class Kind : std::uint8_t {
  Stop = 1,             // a browser window showed a locked word and was stopped
  UnlockAll = 2,        // every window let through until Lock All or a reload
  LockAll = 3,          // Unlock All ended
  SettingsChanged = 4,  // a stored change of the settings or a password (never its text)
  GuardStarted = 5,
  GuardEnded = 6,      // an end the service could not confirm, or a start that failed
  GuardRestarted = 7,  // the service brought the guard back (or will, after a delay)
  RecordSetAside = 8,  // the record file was damaged or not ours: renamed, a new one started
  ServiceProblem = 9,  // the service could not do part of its work
};
inline constexpr std::uint8_t kLastKind = 9;

// What the user did about a stop.
enum class Outcome : std::uint8_t {
  None = 0,                 // not a stop
  Allowed = 1,              // the right password
  Refused = 2,              // closed after `wrongAnswers` wrong answers
  Unanswered = 3,           // the prompt was closed without an answer
  TimedOut = 4,             // the prompt's time limit ran out
  ClosedWithoutPrompt = 5,  // prompting is switched off
  ExemptUnlockAll = 6,      // Unlock All was on: let through unasked
};
inline constexpr std::uint8_t kLastOutcome = 6;

// The longest title kept, in characters, and the longest field read back, in bytes.
inline constexpr std::size_t kTitleChars = 254;
inline constexpr std::size_t kLongestField = 8 * 1024;

struct Entry {
  std::int64_t time = 0;  // seconds since 1970-01-01 UTC
  Kind kind = Kind::Stop;
  Outcome outcome = Outcome::None;
  std::uint32_t wrongAnswers = 0;
  std::uint32_t session = 0;
  std::string user;     // DOMAIN\name of the session's user
  std::string program;  // the browser's program file
  std::string title;    // the window title, at most kTitleChars characters
  std::string word;     // the locked word that matched
  std::string detail;   // what changed, or why the guard started or ended
  bool operator==(const Entry&) const = default;
};

// An entry of that kind, every other field empty.
inline Entry EntryOf(Kind kind) {
  Entry entry;
  entry.kind = kind;
  return entry;
}

// What a guard may say happened; everything else only the service itself knows.
bool GuardMayReport(Kind kind);

std::vector<std::uint8_t> Encode(const Entry& entry);
void AppendEncoded(std::vector<std::uint8_t>& out, const Entry& entry);
// Nothing when the bytes are not exactly one well-formed entry.
std::optional<Entry> Decode(std::span<const std::uint8_t> bytes);

// Texts for people: "2026-12-08 16:15:13" (UTC), "Stop", "Refused after 3 wrong answers".
std::string TimeText(std::int64_t time);
std::string KindText(Kind kind);
std::string OutcomeText(const Entry& entry);

}  // namespace pw::history
