#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "history/entry.h"

namespace pw::history {

// Where the record file lives; the service's is a file only SYSTEM and Administrators reach.
class RecordStorage {
 public:
  virtual ~RecordStorage() = default;
  // The whole file; nothing when there is none (or it cannot be read).
  virtual std::optional<std::vector<std::uint8_t>> ReadAll() = 0;
  // Adds to the end and flushes to the disk before returning.
  virtual bool Append(std::span<const std::uint8_t> bytes) = 0;
  // Cuts the file to its first `length` bytes.
  virtual bool Truncate(std::size_t length) = 0;
  // Writes a new file beside the old one and moves it over it, so a power cut leaves one of
  // the two whole.
  virtual bool Replace(std::span<const std::uint8_t> bytes) = 0;
  // Renames the file out of the way; the new name, or empty when it could not be renamed.
  virtual std::string SetAside() = 0;
};

// The service's bounded record: the entries in memory, each new one also appended to the file.
// It holds the last `keep` entries; the file grows by up to `slack` more before it is rewritten
// with the last `keep`, so that not every entry rewrites the whole file.
class Journal {
 public:
  static constexpr std::size_t kKeep = 10000;
  static constexpr std::size_t kSlack = 1000;

  explicit Journal(RecordStorage& storage, std::size_t keep = kKeep, std::size_t slack = kSlack);

  // Reads the file: a damaged tail is cut off; a file that is not ours (or has no header) is
  // renamed and a new one started. What happened, for the service to report: nothing when the
  // file was whole or new, else a RecordSetAside entry without its time.
  std::optional<Entry> Open();
  // False when the file refused it; the entry is kept in memory all the same.
  bool Add(const Entry& entry);
  // The last `keep` entries (or fewer), oldest first.
  std::span<const Entry> Entries() const;

 private:
  RecordStorage& storage_;
  std::size_t keep_;
  std::size_t slack_;
  std::vector<Entry> entries_;
  bool fileGood_ = false;
};

}  // namespace pw::history
