#include "platform/win32/backend/win32_process.h"

#include <windows.h>

#include <string>

#include "platform/win32/backend/win32_text.h"

namespace pw {

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

}  // namespace pw
