#include "service/service_record.h"

namespace pw::service {

ServiceRecord::ServiceRecord(history::RecordStorage& storage, EventWriter& events, Clock clock)
    : journal_(storage), events_(events), clock_(std::move(clock)) {}

void ServiceRecord::Open() {
  if (auto note = journal_.Open()) Add(std::move(*note));
}

void ServiceRecord::Add(history::Entry entry) {
  entry.time = clock_();
  // The event log first: it is what administrators collect, and it does not wait for a disk
  // flush of ours.
  events_.Write(entry);
  journal_.Add(entry);
}

}  // namespace pw::service
