#include "platform/win32/backend/win32_shell.h"

// The shell headers need windows.h first.
#include "platform/win32/backend/win32_failures.h"
#include "platform/win32/backend/win32_handle_cast.h"
// Then these.
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string_view>

#include "platform/win32/backend/win32_text.h"
#include "platform/win32/unique.h"

namespace pw::win32 {

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

const wchar_t* OrNull(const std::wstring& text) {
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
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = ToHwnd(Field(record, kWindowAt));
  data.uID = Field(record, kIdAt);
  data.uFlags = Field(record, kFlagsAt);
  data.uCallbackMessage = Field(record, kCallbackAt);
  // Icon handles are 32-bit significant, like window handles.
  data.hIcon = reinterpret_cast<HICON>(ToHwnd(Field(record, kIconAt)));
  // The record holds the tip as UTF-8 up to its terminating zero.
  const auto* tip = reinterpret_cast<const char*>(record.data() + kTipAt);
  const std::wstring wide = win32::Wide(std::string_view(tip, strnlen(tip, kTipSize)));
  static_assert(sizeof data.szTip / sizeof data.szTip[0] >= kTipSize);
  wcsncpy(data.szTip, wide.c_str(), kTipSize - 1);
  if (::Shell_NotifyIconW(message, &data) != FALSE) return true;
  // Without its icon the owner cannot reach the setup tool; a removal that fails has nothing
  // left to remove (the taskbar was restarted).
  if (message == NIM_ADD) win32::WriteFailure("Adding the tray icon", GetLastError());
  return false;
}

std::intptr_t Win32Shell::ShellExecuteA(Hwnd owner, const std::string& operation,
                                        const std::string& file, const std::string& parameters,
                                        const std::string& directory, int showCommand) {
  const std::wstring verb = win32::Wide(operation);
  const std::wstring arguments = win32::Wide(parameters);
  const std::wstring folder = win32::Wide(directory);
  const HINSTANCE result = ::ShellExecuteW(ToHwnd(owner), OrNull(verb), win32::Wide(file).c_str(),
                                           OrNull(arguments), OrNull(folder), showCommand);
  // Values above 32 mean success; the smaller ones are error codes.
  const auto code = reinterpret_cast<std::intptr_t>(result);
  if (code <= 32) win32::WriteFailure("Opening " + file, GetLastError());
  return code;
}

bool Win32Shell::StartProgram(const std::string& path, int windowStyle) {
  if (path.empty()) return false;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION started{};
  // Quoted, so a folder with blanks in its name is one program name. No application name is
  // given: then a bare file name is looked up along the usual search path.
  std::wstring command = win32::Wide("\"" + path + "\"");
  if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &started) == FALSE) {
    win32::WriteFailure("Starting " + path, GetLastError());
    return false;
  }
  const win32::UniqueHandle thread(started.hThread);
  const win32::UniqueHandle process(started.hProcess);
  return true;
}

std::optional<std::string> Win32Shell::ChooseSaveFile(Hwnd owner, const std::string& suggested) {
  std::wstring path = win32::Wide(suggested);
  path.resize(32768);
  static constexpr wchar_t kFilter[] = L"CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = win32::ToHwnd(owner);
  dialog.lpstrFilter = kFilter;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrDefExt = L"csv";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!GetSaveFileNameW(&dialog)) {
    // Zero: the user cancelled. Anything else is the dialog's own error number.
    if (const DWORD error = CommDlgExtendedError(); error != 0) {
      win32::WriteFailure("The Save dialog failed with dialog error " + std::to_string(error));
    }
    return std::nullopt;
  }
  path.resize(std::wcslen(path.c_str()));
  return win32::Utf8(path);
}

bool Win32Shell::WriteWholeFile(const std::string& path, const std::string& bytes) {
  const win32::UniqueFile file(CreateFileW(win32::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    win32::WriteFailure("Creating " + path, GetLastError());
    return false;
  }
  std::string_view rest = bytes;
  bool ok = true;
  while (ok && !rest.empty()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 1 << 20));
    ok = WriteFile(file.get(), rest.data(), chunk, &written, nullptr) && written > 0;
    rest.remove_prefix(written);
  }
  // Written through to the disk, so a full disk or a lost share is told now, not at the close.
  if (ok && FlushFileBuffers(file.get())) return true;
  win32::WriteFailure("Writing " + path, GetLastError());
  return false;
}

}  // namespace pw::win32
