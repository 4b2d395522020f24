#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "history/entry.h"
#include "history/journal.h"

namespace pw::service {

// Where each entry is also written: the Windows event log.
class EventWriter {
 public:
  virtual ~EventWriter() = default;
  virtual void Write(const history::Entry& entry) = 0;
};

// The service's record of what happened: each entry gets the time, goes to the event log and
// into the bounded record file.
class ServiceRecord {
 public:
  using Clock = std::function<std::int64_t()>;  // seconds since 1970 UTC

  ServiceRecord(history::RecordStorage& storage, EventWriter& events, Clock clock);

  // Reads the record file, cutting a damaged tail or setting aside a file that is not ours,
  // and records that it did.
  void Open();
  void Add(history::Entry entry);
  // Oldest first.
  std::span<const history::Entry> Entries() const { return journal_.Entries(); }

 private:
  history::Journal journal_;
  EventWriter& events_;
  Clock clock_;
};

}  // namespace pw::service
