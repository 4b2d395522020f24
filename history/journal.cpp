#include "history/journal.h"

#include "history/record_file.h"

namespace pw::history {

Journal::Journal(RecordStorage& storage, std::size_t keep, std::size_t slack)
    : storage_(storage), keep_(keep), slack_(slack) {}

std::optional<Entry> Journal::Open() {
  entries_.clear();
  const auto bytes = storage_.ReadAll();
  if (!bytes) {
    fileGood_ = storage_.Replace(Header());
    return std::nullopt;
  }
  Parsed parsed = Parse(*bytes);
  if (parsed.ours) {
    entries_ = std::move(parsed.entries);
    if (parsed.goodLength == bytes->size()) {
      fileGood_ = true;
      return std::nullopt;
    }
    fileGood_ = storage_.Truncate(parsed.goodLength);
    Entry note = EntryOf(Kind::RecordSetAside);
    note.detail = "The record's last " + std::to_string(bytes->size() - parsed.goodLength) +
                  " bytes were damaged (a write cut short) and were cut off; " +
                  std::to_string(entries_.size()) + " entries were kept.";
    return note;
  }
  const std::string aside = storage_.SetAside();
  fileGood_ = storage_.Replace(Header());
  Entry note = EntryOf(Kind::RecordSetAside);
  note.detail = bytes->empty() ? "The record file was empty" : "The record file was not readable";
  note.detail += aside.empty() ? " and could not be renamed; a new one was started."
                               : "; it was renamed to " + aside + " and a new one started.";
  return note;
}

bool Journal::Add(const Entry& entry) {
  entries_.push_back(entry);
  if (entries_.size() > keep_ + slack_) {
    entries_.erase(entries_.begin(),
                   entries_.begin() + static_cast<std::ptrdiff_t>(entries_.size() - keep_));
    fileGood_ = storage_.Replace(Image(entries_));
    return fileGood_;
  }
  // After a failed write the file may end in part of an entry: write it whole anew.
  if (!fileGood_) {
    fileGood_ = storage_.Replace(Image(entries_));
    return fileGood_;
  }
  fileGood_ = storage_.Append(Framed(entry));
  return fileGood_;
}

std::span<const Entry> Journal::Entries() const {
  const std::size_t skip = entries_.size() > keep_ ? entries_.size() - keep_ : 0;
  return std::span<const Entry>(entries_).subspan(skip);
}

}  // namespace pw::history
