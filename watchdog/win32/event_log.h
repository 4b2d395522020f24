#pragma once

#include <windows.h>

#include <string>

#include "watchdog/report.h"

namespace pw::watchdog {

// The Windows event log under the source "Pagewarden". Writing never fails loudly: a service
// has no one to tell.
class EventLog {
 public:
  static constexpr const char* kSource = "Pagewarden";

  // Makes the source known with this program's message table, so the viewer shows the text.
  // Needs an administrator (the service runs as LocalSystem).
  static void Register(const std::string& messageFile);

  // With `echo`, each text also goes to the standard output (the console mode).
  explicit EventLog(bool echo);
  ~EventLog();
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;

  void Write(const Report& report);

 private:
  HANDLE source_;
  bool echo_;
};

}  // namespace pw::watchdog
