#include "platform/win32/backend/win32_failures.h"

#include "base/names.h"
#include "platform/win32/backend/win32_text.h"
#include "platform/win32/unique.h"

namespace pw::win32 {

namespace {

// The message file's entry for a failure of the program: its one string as it stands.
constexpr DWORD kFailureEvent = 120;

}  // namespace

std::string ErrorText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  const UniqueLocal<wchar_t> owned(text);
  std::wstring found = length > 0 && text != nullptr ? std::wstring(text, length) : L"";
  while (!found.empty() && (found.back() == L'\n' || found.back() == L'\r' || found.back() == L' '))
    found.pop_back();
  return Utf8(found);
}

void WriteFailure(const std::string& what, DWORD error) {
  std::string line = what;
  if (error != ERROR_SUCCESS) {
    line += " (error " + std::to_string(error);
    const std::string text = ErrorText(error);
    line += text.empty() ? ")" : ": " + text + ")";
  }
  const std::wstring wide = Wide(line);
  OutputDebugStringW((std::wstring(kProductNameW) + L": " + wide + L"\n").c_str());
  const UniqueEventSource source(RegisterEventSourceW(nullptr, kProductNameW));
  if (!source) return;
  const wchar_t* strings[] = {wide.c_str()};
  ReportEventW(source.get(), EVENTLOG_ERROR_TYPE, 0, kFailureEvent, nullptr, 1, 0, strings,
               nullptr);
}

}  // namespace pw::win32
