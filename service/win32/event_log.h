#pragma once

#include <windows.h>

#include <string>

#include "base/names.h"
#include "platform/win32/unique.h"
#include "service/report.h"
#include "service/service_record.h"

namespace pw::service {

// The Windows event log under the source "Pagewarden". Writing never fails loudly: a service
// has no one to tell.
class EventLog : public EventWriter {
 public:
  static constexpr const char* kSource = kProductName;

  // Makes the source known with this program's message table, so the viewer shows the text.
  // Needs an administrator (the service runs as LocalSystem).
  static void Register(const std::string& messageFile);

  // With `echo`, each text also goes to the standard output (the console mode).
  explicit EventLog(bool echo);
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;

  // Once the record is open, the watchdog's reports go into it too (and from it to the log).
  void SetRecord(ServiceRecord* record) { record_ = record; }
  void Write(const Report& report);
  // One event under the entry's kind's ID, its fields as the event's data.
  void Write(const history::Entry& entry) override;

 private:
  win32::UniqueEventSource source_;
  ServiceRecord* record_ = nullptr;
  bool echo_;
};

}  // namespace pw::service
