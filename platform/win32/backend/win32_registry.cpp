#include "platform/win32/backend/win32_registry.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/win32/backend/win32_failures.h"
#include "platform/win32/backend/win32_handle_cast.h"
#include "platform/win32/backend/win32_text.h"

namespace pw::win32 {

namespace {

using win32::FromHkey;
using win32::ToHkey;

// Added to every access mask, the empty one of key creation included.
constexpr REGSAM k32BitView = KEY_WOW64_32KEY;

using win32::Utf8;
using win32::Wide;

bool IsText(std::uint32_t type) {
  return type == REG_SZ || type == REG_EXPAND_SZ;
}

// A text value as the system holds it, UTF-16 with its terminator as stored; empty when the
// value is missing or holds no text.
LONG ReadWide(HKEY key, const std::wstring& name, DWORD& type, std::wstring& text) {
  DWORD size = 0;
  LONG status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
  // A value that grows between the two calls is asked for again.
  for (int attempt = 0; status == ERROR_SUCCESS && attempt < 4; ++attempt) {
    text.assign(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = size;
    status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(text.data()), &got);
    if (status == ERROR_SUCCESS) {
      text.resize(got / sizeof(wchar_t));
      return status;
    }
    if (status == ERROR_MORE_DATA) {
      size = got;
      status = ERROR_SUCCESS;
    }
  }
  return status == ERROR_SUCCESS ? ERROR_MORE_DATA : status;
}

}  // namespace

long Win32Registry::RegOpenKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                                  std::uint32_t access, RegKey& result) {
  HKEY key = nullptr;
  const LONG status =
      ::RegOpenKeyExW(ToHkey(root), Wide(path).c_str(), options, access | k32BitView, &key);
  result = status == ERROR_SUCCESS ? FromHkey(key) : 0;
  // Reading a key that is missing or closed to this user is an answer; writing one is a store
  // that fails.
  const bool writes = (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) != 0;
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND && writes) {
    return Refused("Opening " + path + " to store", status);
  }
  return status;
}

long Win32Registry::RegCreateKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                                    std::uint32_t access, RegKey& result,
                                    std::uint32_t& disposition) {
  HKEY key = nullptr;
  DWORD how = 0;
  const LONG status = ::RegCreateKeyExW(ToHkey(root), Wide(path).c_str(), 0, nullptr, options,
                                        access | k32BitView, nullptr, &key, &how);
  result = status == ERROR_SUCCESS ? FromHkey(key) : 0;
  disposition = status == ERROR_SUCCESS ? how : 0;
  return status == ERROR_SUCCESS ? status : Refused("Creating " + path, status);
}

long Win32Registry::RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
  if (key == 0) return ERROR_INVALID_HANDLE;
  const std::wstring wideName = Wide(name);
  std::wstring text;
  if (IsText(type) && data != nullptr) {
    // Stored as UTF-16 with exactly one terminator, whether or not the caller's data ends in one.
    std::string_view utf8(reinterpret_cast<const char*>(data), size);
    if (!utf8.empty() && utf8.back() == '\0') utf8.remove_suffix(1);
    text = Wide(utf8) + L'\0';
    data = reinterpret_cast<const BYTE*>(text.data());
    size = static_cast<std::uint32_t>(text.size() * sizeof(wchar_t));
  }
  const LONG status = ::RegSetValueExW(ToHkey(key), wideName.c_str(), 0, type, data, size);
  return status == ERROR_SUCCESS ? status : Refused("Storing the value " + name, status);
}

long Win32Registry::RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t& type,
                                     std::uint8_t* data, std::uint32_t& size) {
  if (key == 0) return ERROR_INVALID_HANDLE;
  const std::wstring wideName = Wide(name);
  DWORD t = 0;
  DWORD s = 0;
  LONG status = ::RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr, &t, nullptr, &s);
  // A missing value or a failed call reports nothing; the caller's variables stay as they were.
  if (status != ERROR_SUCCESS) return status;
  if (!IsText(t)) {
    s = size;
    status = ::RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr, &t, data, &s);
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
      type = t;
      size = s;
    }
    return status;
  }
  // Text is handed out as UTF-8, its size counted in those bytes, the terminator included.
  std::wstring wide;
  status = ReadWide(ToHkey(key), wideName, t, wide);
  if (status != ERROR_SUCCESS) return status;
  const std::string text = Utf8(wide);
  const auto needed = static_cast<std::uint32_t>(text.size());
  type = t;
  if (data != nullptr && needed > size) status = ERROR_MORE_DATA;
  if (data != nullptr && needed <= size) std::copy(text.begin(), text.end(), data);
  size = needed;
  return status;
}

long Win32Registry::RegDeleteValueA(RegKey key, const std::string& name) {
  if (key == 0) return ERROR_INVALID_HANDLE;
  const LONG status = ::RegDeleteValueW(ToHkey(key), Wide(name).c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return status;
  return Refused("Removing the value " + name, status);
}

long Win32Registry::RegCloseKey(RegKey key) {
  if (key == 0) return ERROR_INVALID_HANDLE;
  DropNotice(key);
  return ::RegCloseKey(ToHkey(key));
}

Win32Registry::~Win32Registry() {
  while (!events_.empty()) DropNotice(events_.begin()->first);
}

long Win32Registry::RegNotifyChangeKeyValue(RegKey key, std::function<void()> onChange) {
  if (key == 0) return ERROR_INVALID_HANDLE;
  if (waits_ == nullptr) return ERROR_NOT_SUPPORTED;
  win32::UniqueHandle& owned = events_[key];
  if (!owned) owned.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  const HANDLE event = owned.get();
  if (event == nullptr) {
    const long error = static_cast<long>(GetLastError());
    events_.erase(key);
    return error;
  }
  // The notice is tied to this (the user-interface) thread, which lives as long as the program.
  const LONG status = ::RegNotifyChangeKeyValue(
      ToHkey(key), FALSE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, event, TRUE);
  if (status != ERROR_SUCCESS) {
    // The guard then sees changes only at its next start.
    win32::WriteFailure("Watching the settings for changes", static_cast<DWORD>(status));
    DropNotice(key);
    return status;
  }
  HANDLE signalled = event;
  // One notice a request, as the registry gives it: the caller asks again for the next.
  const bool watched = waits_->Watch(signalled, [this, signalled, onChange = std::move(onChange)] {
    waits_->Unwatch(signalled);
    onChange();
  });
  if (!watched) {
    DropNotice(key);
    return ERROR_NO_SYSTEM_RESOURCES;
  }
  return ERROR_SUCCESS;
}

long Win32Registry::Refused(const std::string& what, long status) {
  constexpr std::uint64_t kBurst = 10'000;
  const std::uint64_t now = GetTickCount64();
  if (lastRefusalAt_ == 0 || now - lastRefusalAt_ >= kBurst) {
    win32::WriteFailure(what + " in the registry", static_cast<DWORD>(status));
  }
  lastRefusalAt_ = now;
  return status;
}

void Win32Registry::DropNotice(RegKey key) {
  auto it = events_.find(key);
  if (it == events_.end()) return;
  if (waits_ != nullptr) waits_->Unwatch(it->second.get());
  events_.erase(it);
}

}  // namespace pw::win32
