#include "service/win32/record_storage.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <cstdio>

namespace pw::service {

namespace {

// SYSTEM and Administrators full control, inherited by the files; nothing from the parent.
constexpr const wchar_t* kFolderAccess = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
constexpr std::size_t kLargestFile = 64 * 1024 * 1024;

HANDLE Valid(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes = bytes.subspan(written);
  }
  // Each entry on the disk before the next one: a power cut loses at most the one being written.
  return FlushFileBuffers(file) != FALSE;
}

}  // namespace

RecordStorage::RecordStorage() {
  PWSTR data = nullptr;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &data))) {
    folder_ = std::wstring(data) + L"\\Pagewarden";
    path_ = folder_ + L"\\history.dat";
  }
  CoTaskMemFree(data);
}

bool RecordStorage::PrepareFolder() {
  if (folder_.empty()) return false;
  PSECURITY_DESCRIPTOR made = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kFolderAccess, SDDL_REVISION_1, &made,
                                                            nullptr)) {
    return false;
  }
  const win32::UniqueLocal<void> access(made);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, access.get(), FALSE};
  bool ok = CreateDirectoryW(folder_.c_str(), &attributes) != FALSE;
  if (!ok && GetLastError() == ERROR_ALREADY_EXISTS) {
    // Made by someone else first (or an older copy): the list is set again, protected.
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    ok = GetSecurityDescriptorDacl(access.get(), &present, &dacl, &defaulted) &&
         SetNamedSecurityInfoW(folder_.data(), SE_FILE_OBJECT,
                               DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                               nullptr, nullptr, dacl, nullptr) == ERROR_SUCCESS;
  }
  return ok;
}

std::optional<std::vector<std::uint8_t>> RecordStorage::ReadAll() {
  PrepareFolder();
  file_.reset();
  UniqueHandle file(Valid(CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  if (!file) {
    // Only a file that is not there is started anew; one that cannot be read now is set aside
    // by the reader (renamed, so nothing in it is lost), never written over.
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    return std::vector<std::uint8_t>{};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::vector<std::uint8_t>{};
  // A file far larger than any record is not ours; its first bytes tell the reader so.
  const auto length = static_cast<std::size_t>(std::min<LONGLONG>(size.QuadPart, kLargestFile));
  std::vector<std::uint8_t> bytes(length);
  std::size_t got = 0;
  while (got < length) {
    DWORD read = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length - got, 1 << 20));
    if (!ReadFile(file.get(), bytes.data() + got, chunk, &read, nullptr) || read == 0) break;
    got += read;
  }
  bytes.resize(got);
  return bytes;
}

bool RecordStorage::OpenForAppend() {
  if (!file_) {
    file_.reset(Valid(CreateFileW(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  }
  return static_cast<bool>(file_);
}

bool RecordStorage::Append(std::span<const std::uint8_t> bytes) {
  if (!OpenForAppend()) return false;
  if (WriteAll(file_.get(), bytes)) return true;
  file_.reset();
  return false;
}

bool RecordStorage::Truncate(std::size_t length) {
  file_.reset();
  UniqueHandle file(Valid(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr)));
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(length);
  return file && SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) &&
         SetEndOfFile(file.get()) && FlushFileBuffers(file.get());
}

bool RecordStorage::Replace(std::span<const std::uint8_t> bytes) {
  file_.reset();
  if (!PrepareFolder() && GetFileAttributesW(folder_.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return false;
  }
  const std::wstring fresh = path_ + L".new";
  {
    UniqueHandle file(Valid(CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file || !WriteAll(file.get(), bytes)) return false;
  }
  // The old file stays whole until the new one, flushed, takes its name in one step.
  return MoveFileExW(fresh.c_str(), path_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

std::string RecordStorage::SetAside() {
  file_.reset();
  SYSTEMTIME now{};
  GetSystemTime(&now);
  wchar_t stamp[32];
  std::swprintf(stamp, 32, L"%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond);
  const std::wstring name = L"history-unreadable-" + std::wstring(stamp) + L".dat";
  if (!MoveFileExW(path_.c_str(), (folder_ + L"\\" + name).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  return std::string(name.begin(), name.end());
}

}  // namespace pw::service
