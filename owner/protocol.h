#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "history/entry.h"

namespace pw::owner {

// What the guard asks of the owner's authority (the service) over its pipe, and the answers.
// A message is a version byte, a kind byte, a field count (4 bytes, little-endian) and that many
// fields, each a 4-byte length and its bytes. The reader trusts nothing: every length is checked
// against the message and the limits below before anything is taken.

// Local clients only; the service creates it before anyone else can.
inline constexpr const char* kPipeName = "\\\\.\\pipe\\Pagewarden.Owner";
inline constexpr const wchar_t* kPipeNameW = L"\\\\.\\pipe\\Pagewarden.Owner";
// The service that serves it, by its name with the service control manager.
inline constexpr std::uint8_t kVersion = 1;
inline constexpr std::size_t kMostFields = 1100;             // 1000 words and the settings
inline constexpr std::size_t kLongestField = 64 * 1024;      // a word or a setting
inline constexpr std::size_t kLongestMessage = 1024 * 1024;  // all of them together

enum class Ask : std::uint8_t {
  CheckUnlock = 1,    // the unlock password: entry
  CheckSetup = 2,     // the setup password: entry
  StoreSettings = 3,  // setup password, N, N (name, text) pairs, then "word,1" entries
  StoreUnlock = 4,    // setup password, the new unlock password
  StoreSetup = 5,     // setup password, the new setup password
  Report = 6,         // something that happened, as one encoded history entry
  // Setup password, how many of the newest entries to skip (decimal) and, optionally, the most
  // to send (decimal): without it, as many as fit in a page.
  ReadHistory = 7,
};

struct Request {
  Ask ask = Ask::CheckUnlock;
  std::vector<std::string> fields;
};

enum class Answer : std::uint8_t {
  Right = 0,       // the password is right; a store is done
  Wrong = 1,       // the password is wrong: nothing stored
  Wait = 2,        // too many checks: ask again after `seconds`
  NeedsAdmin = 3,  // no setup password yet: only an administrator may store the first one
  Failed = 4,      // the registry refused the store, or part of it
  BadRequest = 5,  // the request could not be read
  // Never sent: the guard's own word for a service that could not be asked, or gave no answer.
  Unreachable = 6,
};

struct Reply {
  Answer answer = Answer::BadRequest;
  std::uint32_t seconds = 0;  // with Wait
  bool mayStore = true;       // with a right setup password: whether a store would be taken
  bool operator==(const Reply&) const = default;
};

std::vector<std::uint8_t> Encode(const Request& request);
// Nothing when the bytes are not exactly one well-formed request of a known kind.
std::optional<Request> DecodeRequest(std::span<const std::uint8_t> bytes);

std::vector<std::uint8_t> Encode(const Reply& reply);
std::optional<Reply> DecodeReply(std::span<const std::uint8_t> bytes);

// The answer to a granted ReadHistory: a page of the record, newest first. A refused one gets
// the plain reply above. Its own form, told apart by its size and a marker byte: a version byte,
// the marker, two zero bytes, the number of entries recorded, how many were skipped, how many
// follow, and those, each a 4-byte length and an encoded history entry. A page is at most
// kLongestPage bytes; the reader checks every length and count against its bytes.
inline constexpr std::size_t kLongestPage = 1024 * 1024;
inline constexpr std::uint32_t kMostEntries = 100000;
// The most any reply may be, for the guard's read off the pipe.
inline constexpr std::size_t kLongestReply = kLongestPage;

struct HistoryPage {
  std::uint32_t total = 0;    // entries in the record
  std::uint32_t skipped = 0;  // newest entries left out before this page
  std::vector<history::Entry> entries;
  bool operator==(const HistoryPage&) const = default;
};

// Fills a page from `entries` (oldest first) after skipping `skip` of the newest: at most `most`,
// and as many as fit.
HistoryPage PageOf(std::span<const history::Entry> entries, std::uint32_t skip,
                   std::uint32_t most = kMostEntries);
std::vector<std::uint8_t> Encode(const HistoryPage& page);
std::optional<HistoryPage> DecodeHistoryPage(std::span<const std::uint8_t> bytes);

}  // namespace pw::owner
