#include "platform/win32/backend/win32_shell.h"

// The shell headers need windows.h first.
#include "platform/win32/backend/win32_handle_cast.h"
// Then these.
#include <objbase.h>
#include <shellapi.h>

#include <cstring>

namespace pw {

namespace {

using win32::ToHwnd;

// Offsets in the 88-byte record, all fields 32-bit little-endian.
constexpr std::size_t kWindowAt = 4;
constexpr std::size_t kIdAt = 8;
constexpr std::size_t kFlagsAt = 12;
constexpr std::size_t kCallbackAt = 16;
constexpr std::size_t kIconAt = 20;
constexpr std::size_t kTipAt = 24;
constexpr std::size_t kTipSize = 64;

std::uint32_t Field(const TrayRecord& record, std::size_t offset) {
  std::uint32_t value = 0;
  std::memcpy(&value, record.data() + offset, sizeof value);
  return value;
}

const char* OrNull(const std::string& text) {
  return text.empty() ? nullptr : text.c_str();
}

}  // namespace

Win32Shell::Win32Shell() {
  // S_FALSE (already set up on this thread) needs its own balancing call too.
  comReady_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

Win32Shell::~Win32Shell() {
  if (comReady_) CoUninitialize();
}

bool Win32Shell::Shell_NotifyIconA(std::uint32_t message, const TrayRecord& record) {
  // The record is the first, 88-byte form of the structure. Its fields are copied into the
  // native one, whose first form is laid out alike in a 32-bit process but has wider handles
  // in a 64-bit one; the size announced is that first form's, so the shell reads no further.
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = ToHwnd(Field(record, kWindowAt));
  data.uID = Field(record, kIdAt);
  data.uFlags = Field(record, kFlagsAt);
  data.uCallbackMessage = Field(record, kCallbackAt);
  // Icon handles are 32-bit significant, like window handles.
  data.hIcon = reinterpret_cast<HICON>(ToHwnd(Field(record, kIconAt)));
  static_assert(sizeof data.szTip >= kTipSize);
  std::memcpy(data.szTip, record.data() + kTipAt, kTipSize);
  data.szTip[kTipSize - 1] = '\0';
  return ::Shell_NotifyIconA(message, &data) != FALSE;
}

std::intptr_t Win32Shell::ShellExecuteA(Hwnd owner, const std::string& operation,
                                        const std::string& file, const std::string& parameters,
                                        const std::string& directory, int showCommand) {
  const HINSTANCE result = ::ShellExecuteA(ToHwnd(owner), OrNull(operation), file.c_str(),
                                           OrNull(parameters), OrNull(directory), showCommand);
  // Values above 32 mean success; the smaller ones are error codes.
  return reinterpret_cast<std::intptr_t>(result);
}

bool Win32Shell::StartProgram(const std::string& path, int windowStyle) {
  if (path.empty()) return false;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION started{};
  // Quoted, so a folder with blanks in its name is one program name. No application name is
  // given: then a bare file name is looked up along the usual search path.
  std::string command = "\"" + path + "\"";
  if (::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &started) == FALSE) {
    return false;
  }
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  return true;
}

}  // namespace pw
