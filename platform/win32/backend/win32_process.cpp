#include "platform/win32/backend/win32_process.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/session_guard.h"
#include "platform/win32/backend/win32_text.h"

namespace pw::win32 {

namespace {

// The full path of the program file, however long.
std::string ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD capacity = static_cast<DWORD>(path.size());
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), capacity);
    if (length == 0) return {};
    // A path that fills the buffer may have been cut short.
    if (length < capacity) {
      path.resize(length);
      return win32::Utf8(path);
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace

Win32Process::Win32Process() {
  char text[32];
  const DWORD length = GetEnvironmentVariableA(kAnswerEventVariable, text, sizeof text);
  if (length == 0 || length >= sizeof text) return;
  // Programs this one starts must not take the value for a handle of their own.
  SetEnvironmentVariableA(kAnswerEventVariable, nullptr);
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 10);
  HANDLE handle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
  DWORD flags = 0;
  if (*end != '\0' || value == 0 || !GetHandleInformation(handle, &flags)) return;
  SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
  answers_.reset(handle);
}

void Win32Process::Answer() {
  if (answers_) SetEvent(answers_.get());
}

void Win32Process::EndNow(std::uint32_t exitCode) {
  ExitProcess(exitCode);
}

std::string Win32Process::ProgramFolder() {
  std::string folder = ProgramPath();
  const std::size_t slash = folder.find_last_of('\\');
  if (slash == std::string::npos) return {};
  folder.resize(slash);
  // "C:" alone would mean the drive's current folder, not its root.
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return folder;
}

}  // namespace pw::win32
