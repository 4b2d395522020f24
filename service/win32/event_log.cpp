#include "service/win32/event_log.h"

#include <array>
#include <cstdio>

#include "base/names.h"
#include "history/event_fields.h"
#include "platform/win32/backend/win32_text.h"

namespace pw::service {

void EventLog::Register(const std::string& messageFile) {
  const std::string key =
      std::string("SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\") + kSource;
  HKEY created = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &created, nullptr) != ERROR_SUCCESS) {
    return;
  }
  const win32::UniqueKey owned(created);
  HKEY handle = owned.get();
  const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
  RegSetValueExA(handle, "EventMessageFile", 0, REG_EXPAND_SZ,
                 reinterpret_cast<const BYTE*>(messageFile.c_str()),
                 static_cast<DWORD>(messageFile.size() + 1));
  RegSetValueExA(handle, "TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&types),
                 sizeof types);
}

EventLog::EventLog(bool echo)
    : source_(RegisterEventSourceW(nullptr, kProductNameW)), echo_(echo) {}

void EventLog::Write(const Report& report) {
  if (record_ != nullptr) {
    record_->Add(ToEntry(report));
  } else {
    Write(ToEntry(report));
  }
}

void EventLog::Write(const history::Entry& entry) {
  if (echo_) {
    std::printf("%s\n",
                entry.detail.empty() ? history::OutcomeText(entry).c_str() : entry.detail.c_str());
    std::fflush(stdout);
  }
  if (!source_) return;
  std::array<std::wstring, history::kEventStrings> wide;
  std::array<const wchar_t*, history::kEventStrings> strings{};
  const auto fields = history::EventStrings(entry);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    wide[i] = win32::Wide(fields[i]);
    strings[i] = wide[i].c_str();
  }
  const WORD type =
      history::EventIsWarning(entry) ? EVENTLOG_WARNING_TYPE : EVENTLOG_INFORMATION_TYPE;
  ReportEventW(source_.get(), type, 0, history::EventId(entry.kind), nullptr,
               static_cast<WORD>(strings.size()), 0, strings.data(), nullptr);
}

}  // namespace pw::service
