#include "watchdog/win32/event_log.h"

#include <cstdio>

namespace pw::watchdog {

namespace {

// The one message of the program's message table: "%1", the text itself.
constexpr DWORD kMessageId = 1;

}  // namespace

void EventLog::Register(const std::string& messageFile) {
  const std::string key =
      std::string("SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\") + kSource;
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &handle, nullptr) != ERROR_SUCCESS) {
    return;
  }
  const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
  RegSetValueExA(handle, "EventMessageFile", 0, REG_EXPAND_SZ,
                 reinterpret_cast<const BYTE*>(messageFile.c_str()),
                 static_cast<DWORD>(messageFile.size() + 1));
  RegSetValueExA(handle, "TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&types),
                 sizeof types);
  RegCloseKey(handle);
}

EventLog::EventLog(bool echo) : source_(RegisterEventSourceA(nullptr, kSource)), echo_(echo) {}

EventLog::~EventLog() {
  if (source_ != nullptr) DeregisterEventSource(source_);
}

void EventLog::Write(const Report& report) {
  const std::string text = Describe(report);
  if (echo_) {
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
  }
  if (source_ == nullptr) return;
  const char* strings[] = {text.c_str()};
  const WORD type = report.Warning() ? EVENTLOG_WARNING_TYPE : EVENTLOG_INFORMATION_TYPE;
  ReportEventA(source_, type, 0, kMessageId, nullptr, 1, 0, strings, nullptr);
}

}  // namespace pw::watchdog
