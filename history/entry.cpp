#include "history/entry.h"

#include <chrono>
#include <cstdio>

namespace pw::history {

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t n) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(n >> shift));
}

void PutText(std::vector<std::uint8_t>& out, const std::string& text) {
  PutU32(out, static_cast<std::uint32_t>(text.size()));
  out.insert(out.end(), text.begin(), text.end());
}

// Reads from the front of the bytes, refusing to step past their end.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::optional<std::uint64_t> Number(int size) {
    if (bytes_.size() < static_cast<std::size_t>(size)) return std::nullopt;
    std::uint64_t n = 0;
    for (int i = size - 1; i >= 0; --i) n = (n << 8) | bytes_[static_cast<std::size_t>(i)];
    bytes_ = bytes_.subspan(static_cast<std::size_t>(size));
    return n;
  }
  bool Text(std::string& text) {
    const auto length = Number(4);
    if (!length || *length > kLongestField || bytes_.size() < *length) return false;
    text.assign(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(*length));
    bytes_ = bytes_.subspan(static_cast<std::size_t>(*length));
    return true;
  }
  bool AtEnd() const { return bytes_.empty(); }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace

bool GuardMayReport(Kind kind) {
  return kind == Kind::Stop || kind == Kind::UnlockAll || kind == Kind::LockAll;
}

void AppendEncoded(std::vector<std::uint8_t>& out, const Entry& e) {
  out.push_back(static_cast<std::uint8_t>(e.kind));
  out.push_back(static_cast<std::uint8_t>(e.outcome));
  PutU32(out, e.wrongAnswers);
  PutU32(out, e.session);
  const auto time = static_cast<std::uint64_t>(e.time);
  PutU32(out, static_cast<std::uint32_t>(time));
  PutU32(out, static_cast<std::uint32_t>(time >> 32));
  for (const std::string* text : {&e.user, &e.program, &e.title, &e.word, &e.detail}) {
    PutText(out, *text);
  }
}

std::vector<std::uint8_t> Encode(const Entry& entry) {
  std::vector<std::uint8_t> out;
  AppendEncoded(out, entry);
  return out;
}

std::optional<Entry> Decode(std::span<const std::uint8_t> bytes) {
  Reader in(bytes);
  const auto kind = in.Number(1);
  const auto outcome = in.Number(1);
  const auto wrong = in.Number(4);
  const auto session = in.Number(4);
  const auto time = in.Number(8);
  if (!kind || *kind == 0 || *kind > kLastKind || !outcome || *outcome > kLastOutcome || !wrong ||
      !session || !time) {
    return std::nullopt;
  }
  Entry e;
  e.kind = static_cast<Kind>(*kind);
  e.outcome = static_cast<Outcome>(*outcome);
  e.wrongAnswers = static_cast<std::uint32_t>(*wrong);
  e.session = static_cast<std::uint32_t>(*session);
  e.time = static_cast<std::int64_t>(*time);
  for (std::string* text : {&e.user, &e.program, &e.title, &e.word, &e.detail}) {
    if (!in.Text(*text)) return std::nullopt;
  }
  if (!in.AtEnd()) return std::nullopt;
  return e;
}

std::string TimeText(std::int64_t time) {
  using namespace std::chrono;
  // Within the years a calendar shows; anything else is a damaged entry's time.
  constexpr std::int64_t kYear9999 = 253402300799;
  if (time < 0 || time > kYear9999) return "?";
  const sys_seconds at{seconds{time}};
  const auto day = floor<days>(at);
  const year_month_day date{day};
  const hh_mm_ss clock{at - day};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

std::string KindText(Kind kind) {
  switch (kind) {
    case Kind::Stop:
      return "Stop";
    case Kind::UnlockAll:
      return "Unlock All";
    case Kind::LockAll:
      return "Lock All";
    case Kind::SettingsChanged:
      return "Settings changed";
    case Kind::GuardStarted:
      return "Guard started";
    case Kind::GuardEnded:
      return "Guard ended";
    case Kind::GuardRestarted:
      return "Guard restarted";
    case Kind::RecordSetAside:
      return "Record set aside";
    case Kind::ServiceProblem:
      return "Service problem";
  }
  return "?";
}

std::string OutcomeText(const Entry& e) {
  switch (e.outcome) {
    case Outcome::None:
      return KindText(e.kind);
    case Outcome::Allowed:
      return "Right password";
    case Outcome::Refused:
      return "Refused after " + std::to_string(e.wrongAnswers) + " wrong answer" +
             (e.wrongAnswers == 1 ? "" : "s");
    case Outcome::Unanswered:
      return "Closed unanswered";
    case Outcome::TimedOut:
      return "Closed by the time limit";
    case Outcome::ClosedWithoutPrompt:
      return "Closed without a prompt";
    case Outcome::ExemptUnlockAll:
      return "Let through: Unlock All was on";
  }
  return "?";
}

}  // namespace pw::history
