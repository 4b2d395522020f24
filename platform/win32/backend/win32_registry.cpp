#include "platform/win32/backend/win32_registry.h"

#include <utility>
#include <vector>

#include "platform/win32/backend/win32_handle_cast.h"

namespace pw {

namespace {

using win32::FromHkey;
using win32::ToHkey;

// Added to every access mask, the empty one of key creation included.
constexpr REGSAM k32BitView = KEY_WOW64_32KEY;

bool IsText(std::uint32_t type) {
  return type == REG_SZ || type == REG_EXPAND_SZ;
}

}  // namespace

long Win32Registry::RegOpenKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                                  std::uint32_t access, RegKey& result) {
  HKEY key = nullptr;
  const LONG status =
      ::RegOpenKeyExA(ToHkey(root), path.c_str(), options, access | k32BitView, &key);
  result = status == ERROR_SUCCESS ? FromHkey(key) : 0;
  return status;
}

long Win32Registry::RegCreateKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                                    std::uint32_t access, RegKey& result,
                                    std::uint32_t& disposition) {
  HKEY key = nullptr;
  DWORD how = 0;
  const LONG status = ::RegCreateKeyExA(ToHkey(root), path.c_str(), 0, nullptr, options,
                                        access | k32BitView, nullptr, &key, &how);
  result = status == ERROR_SUCCESS ? FromHkey(key) : 0;
  disposition = status == ERROR_SUCCESS ? how : 0;
  return status;
}

long Win32Registry::RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
  if (key == 0) return ERROR_INVALID_HANDLE;
  // Windows adds a forgotten terminator only when the byte after the data happens to be zero;
  // terminate here so text is always stored with exactly one, whatever follows the caller's data.
  if (IsText(type) && data != nullptr && size > 0 && data[size - 1] != 0) {
    std::vector<BYTE> terminated(data, data + size);
    terminated.push_back(0);
    return ::RegSetValueExA(ToHkey(key), name.c_str(), 0, type, terminated.data(), size + 1);
  }
  return ::RegSetValueExA(ToHkey(key), name.c_str(), 0, type, data, size);
}

long Win32Registry::RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t& type,
                                     std::uint8_t* data, std::uint32_t& size) {
  if (key == 0) return ERROR_INVALID_HANDLE;
  DWORD t = 0;
  DWORD s = size;
  const LONG status = ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &t, data, &s);
  // A missing value or a failed call reports nothing; the caller's variables stay as they were.
  if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    type = t;
    size = s;
  }
  return status;
}

long Win32Registry::RegDeleteValueA(RegKey key, const std::string& name) {
  if (key == 0) return ERROR_INVALID_HANDLE;
  return ::RegDeleteValueA(ToHkey(key), name.c_str());
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
  HANDLE& event = events_[key];
  if (event == nullptr) event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (event == nullptr) {
    const long error = static_cast<long>(GetLastError());
    events_.erase(key);
    return error;
  }
  // The notice is tied to this (the user-interface) thread, which lives as long as the program.
  const LONG status = ::RegNotifyChangeKeyValue(
      ToHkey(key), FALSE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, event, TRUE);
  if (status != ERROR_SUCCESS) {
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

void Win32Registry::DropNotice(RegKey key) {
  auto it = events_.find(key);
  if (it == events_.end()) return;
  if (waits_ != nullptr) waits_->Unwatch(it->second);
  CloseHandle(it->second);
  events_.erase(it);
}

}  // namespace pw
