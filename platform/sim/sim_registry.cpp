#include "platform/sim/sim_registry.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "base/text.h"
#include "platform/sim/sim_world.h"

namespace pw::sim {

namespace {

constexpr std::uint32_t kQueryValue = 0x1;             // KEY_QUERY_VALUE
constexpr std::uint32_t kSetValue = 0x2;               // KEY_SET_VALUE
constexpr std::uint32_t kWriteBits = kSetValue | 0x4;  // and KEY_CREATE_SUB_KEY
constexpr std::uint32_t kAllAccess = 0xF003F;          // what a predefined root grants
constexpr std::uint32_t kNotify = 0x10;                // KEY_NOTIFY
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorNotSupported = 50;
constexpr long kErrorKeyDeleted = 1018;

bool IsRoot(RegKey key) {
  return key >= 0x80000000u && key <= 0x80000006u;
}

std::string RootName(RegKey root) {
  return std::to_string(root);
}

// "a\b" below base, lower-cased, with empty parts dropped.
std::string Below(std::string base, const std::string& path) {
  std::string part;
  auto flush = [&] {
    if (!part.empty()) base += "\\" + LowerAscii(part);
    part.clear();
  };
  for (char c : path) {
    if (c == '\\') {
      flush();
    } else {
      part += c;
    }
  }
  flush();
  return base;
}

}  // namespace

std::string SimRegistry::Normalize(RegKey root, const std::string& path) {
  return Below(RootName(root), path);
}

bool SimRegistry::Refused(const std::string& key) const {
  for (const std::string& prefix : refused_) {
    if (key == prefix || key.rfind(prefix + "\\", 0) == 0) return true;
  }
  return false;
}

std::optional<SimRegistry::Handle> SimRegistry::Resolve(RegKey handle) const {
  if (IsRoot(handle)) return Handle{RootName(handle), kAllAccess};
  auto it = handles_.find(handle);
  if (it == handles_.end()) return std::nullopt;
  return it->second;
}

SimRegistry::Values* SimRegistry::ValuesOf(const std::string& key) {
  auto it = keys_.find(key);
  if (it != keys_.end()) return &it->second;
  // A predefined root always exists, even before anything was stored under it.
  if (key.find('\\') == std::string::npos) return &keys_[key];
  return nullptr;
}

RegKey SimRegistry::NewHandle(const std::string& key, std::uint32_t access) {
  const RegKey handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = Handle{key, access};
  return handle;
}

void SimRegistry::Protect(RegKey root, const std::string& path) {
  protected_.insert(Normalize(root, path));
}

bool SimRegistry::Protected(RegKey root, const std::string& path) const {
  const std::string key = Normalize(root, path);
  for (const std::string& prefix : protected_) {
    if (key == prefix || key.rfind(prefix + "\\", 0) == 0) return true;
  }
  return false;
}

bool SimRegistry::UserView::Refuses(RegKey root, const std::string& path, std::uint32_t access,
                                    bool creating) {
  const auto base = r_.Resolve(root);
  if (!base) return false;  // the registry reports the bad handle itself
  const std::string key = Below(base->key, path);
  for (const std::string& prefix : r_.protected_) {
    if (key == prefix || key.rfind(prefix + "\\", 0) == 0) return true;
  }
  const std::string machine = RootName(HKEY_LOCAL_MACHINE_);
  if (key != machine && key.rfind(machine + "\\", 0) != 0) return false;
  // Reading HKEY_LOCAL_MACHINE is allowed; creating a key there only opens an existing one.
  return (access & kWriteBits) != 0 || (creating && r_.ValuesOf(key) == nullptr);
}

long SimRegistry::UserView::RegOpenKeyExA(RegKey root, const std::string& path,
                                          std::uint32_t options, std::uint32_t access,
                                          RegKey& result) {
  result = 0;
  if (Refuses(root, path, access, false)) return ERROR_ACCESS_DENIED_;
  return r_.RegOpenKeyExA(root, path, options, access, result);
}

long SimRegistry::UserView::RegCreateKeyExA(RegKey root, const std::string& path,
                                            std::uint32_t options, std::uint32_t access,
                                            RegKey& result, std::uint32_t& disposition) {
  result = 0;
  if (Refuses(root, path, access, true)) return ERROR_ACCESS_DENIED_;
  return r_.RegCreateKeyExA(root, path, options, access, result, disposition);
}

long SimRegistry::RegOpenKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                                std::uint32_t access, RegKey& result) {
  (void)options;
  result = 0;
  const auto base = Resolve(root);
  if (!base) return ERROR_INVALID_HANDLE_;
  const std::string key = Below(base->key, path);
  if (ValuesOf(key) == nullptr) {
    return key == base->key ? kErrorKeyDeleted : ERROR_FILE_NOT_FOUND_;
  }
  if ((access & kWriteBits) != 0 && Refused(key)) return ERROR_ACCESS_DENIED_;
  result = NewHandle(key, access);
  return ERROR_SUCCESS_;
}

long SimRegistry::RegCreateKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                                  std::uint32_t access, RegKey& result,
                                  std::uint32_t& disposition) {
  (void)options;
  result = 0;
  const auto base = Resolve(root);
  if (!base) return ERROR_INVALID_HANDLE_;
  const std::string key = Below(base->key, path);
  if (ValuesOf(key) != nullptr) {
    if ((access & kWriteBits) != 0 && Refused(key)) return ERROR_ACCESS_DENIED_;
    disposition = REG_OPENED_EXISTING_KEY_;
  } else {
    if (ValuesOf(base->key) == nullptr) return kErrorKeyDeleted;
    if (Refused(key)) return ERROR_ACCESS_DENIED_;
    CreateLevels(key);
    disposition = REG_CREATED_NEW_KEY_;
  }
  result = NewHandle(key, access);
  return ERROR_SUCCESS_;
}

long SimRegistry::RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                                 const std::uint8_t* data, std::uint32_t size) {
  const auto handle = Resolve(key);
  if (!handle) return ERROR_INVALID_HANDLE_;
  if ((handle->access & kSetValue) == 0 || Refused(handle->key)) return ERROR_ACCESS_DENIED_;
  if (data == nullptr && size != 0) return kErrorInvalidParameter;
  Values* values = ValuesOf(handle->key);
  if (values == nullptr) return kErrorKeyDeleted;
  Value value{name, type, {}};
  if (size > 0) value.data.assign(data, data + size);
  // The system terminates string data that the caller passed without a zero.
  if ((type == REG_SZ_ || type == REG_EXPAND_SZ_) && !value.data.empty() &&
      value.data.back() != 0) {
    value.data.push_back(0);
  }
  (*values)[LowerAscii(name)] = std::move(value);
  Changed(handle->key);
  return ERROR_SUCCESS_;
}

long SimRegistry::RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t& type,
                                   std::uint8_t* data, std::uint32_t& size) {
  ++queries_;
  const auto handle = Resolve(key);
  if (!handle) return ERROR_INVALID_HANDLE_;
  if ((handle->access & kQueryValue) == 0) return ERROR_ACCESS_DENIED_;
  const Values* values = ValuesOf(handle->key);
  if (values == nullptr) return kErrorKeyDeleted;
  auto it = values->find(LowerAscii(name));
  if (it == values->end()) return ERROR_FILE_NOT_FOUND_;
  const Value& value = it->second;
  type = value.type;
  const auto length = static_cast<std::uint32_t>(value.data.size());
  if (data == nullptr) {
    size = length;
    return ERROR_SUCCESS_;
  }
  if (size < length) {
    size = length;
    return ERROR_MORE_DATA_;
  }
  if (length > 0) std::memcpy(data, value.data.data(), length);
  size = length;
  return ERROR_SUCCESS_;
}

long SimRegistry::RegDeleteValueA(RegKey key, const std::string& name) {
  const auto handle = Resolve(key);
  if (!handle) return ERROR_INVALID_HANDLE_;
  if ((handle->access & kSetValue) == 0 || Refused(handle->key)) return ERROR_ACCESS_DENIED_;
  Values* values = ValuesOf(handle->key);
  if (values == nullptr) return kErrorKeyDeleted;
  if (values->erase(LowerAscii(name)) == 0) return ERROR_FILE_NOT_FOUND_;
  Changed(handle->key);
  return ERROR_SUCCESS_;
}

long SimRegistry::RegCloseKey(RegKey key) {
  if (IsRoot(key)) return ERROR_SUCCESS_;
  if (handles_.erase(key) == 0) return ERROR_INVALID_HANDLE_;
  std::erase_if(watches_, [key](const Watch& w) { return w.handle == key; });
  return ERROR_SUCCESS_;
}

long SimRegistry::RegNotifyChangeKeyValue(RegKey key, std::function<void()> onChange) {
  if (world_ == nullptr) return kErrorNotSupported;
  auto it = handles_.find(key);
  if (it == handles_.end()) return ERROR_INVALID_HANDLE_;
  if ((it->second.access & kNotify) == 0) return ERROR_ACCESS_DENIED_;
  if (ValuesOf(it->second.key) == nullptr) return kErrorKeyDeleted;
  watches_.push_back(Watch{key, it->second.key, world_->Running(), std::move(onChange)});
  return ERROR_SUCCESS_;
}

void SimRegistry::CreateLevels(const std::string& key) {
  for (std::size_t at = key.find('\\'); at != std::string::npos;) {
    const std::size_t next = key.find('\\', at + 1);
    if (keys_.try_emplace(key.substr(0, next)).second) Changed(key.substr(0, at));
    at = next;
  }
}

void SimRegistry::Changed(const std::string& key) {
  // Each notice is given once; the process asks again for the next one.
  auto due = std::stable_partition(watches_.begin(), watches_.end(),
                                   [&key](const Watch& w) { return w.key != key; });
  std::vector<Watch> notices(std::make_move_iterator(due), std::make_move_iterator(watches_.end()));
  watches_.erase(due, watches_.end());
  for (Watch& w : notices) world_->Post(w.process, std::move(w.onChange));
}

void SimRegistry::Put(RegKey root, const std::string& path, const std::string& name,
                      std::uint32_t type, std::vector<std::uint8_t> bytes) {
  const std::string key = Normalize(root, path);
  CreateLevels(key);
  keys_[key][LowerAscii(name)] = Value{name, type, std::move(bytes)};
  Changed(key);
}

void SimRegistry::PutString(RegKey root, const std::string& path, const std::string& name,
                            const std::string& value) {
  std::vector<std::uint8_t> bytes(value.begin(), value.end());
  bytes.push_back(0);
  Put(root, path, name, REG_SZ_, std::move(bytes));
}

void SimRegistry::PutDword(RegKey root, const std::string& path, const std::string& name,
                           std::uint32_t value) {
  std::vector<std::uint8_t> bytes(4);
  std::memcpy(bytes.data(), &value, 4);
  Put(root, path, name, REG_DWORD_, std::move(bytes));
}

std::optional<std::pair<std::uint32_t, std::vector<std::uint8_t>>> SimRegistry::Get(
    RegKey root, const std::string& path, const std::string& name) const {
  auto key = keys_.find(Normalize(root, path));
  if (key == keys_.end()) return std::nullopt;
  auto it = key->second.find(LowerAscii(name));
  if (it == key->second.end()) return std::nullopt;
  return std::make_pair(it->second.type, it->second.data);
}

std::string SimRegistry::GetString(RegKey root, const std::string& path,
                                   const std::string& name) const {
  const auto value = Get(root, path, name);
  if (!value || value->first != REG_SZ_) return {};
  std::string text(value->second.begin(), value->second.end());
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

bool SimRegistry::KeyExists(RegKey root, const std::string& path) const {
  const std::string key = Normalize(root, path);
  return keys_.count(key) != 0 || (IsRoot(root) && key == RootName(root));
}

std::vector<std::string> SimRegistry::ValueNames(RegKey root, const std::string& path) const {
  std::vector<std::string> names;
  auto key = keys_.find(Normalize(root, path));
  if (key == keys_.end()) return names;
  for (const auto& [lowered, value] : key->second) names.push_back(value.name);
  return names;
}

void SimRegistry::DeleteKey(RegKey root, const std::string& path) {
  const std::string key = Normalize(root, path);
  if (key.find('\\') == std::string::npos) return;  // the roots stay
  std::vector<std::string> gone;
  for (const auto& [name, values] : keys_) {
    if (name == key || name.rfind(key + "\\", 0) == 0) gone.push_back(name);
  }
  for (const std::string& name : gone) {
    keys_.erase(name);
    Changed(name);
  }
  if (!gone.empty()) Changed(key.substr(0, key.rfind('\\')));
}

void SimRegistry::Clear() {
  keys_.clear();
  refused_.clear();
  protected_.clear();
  std::vector<std::string> watched;
  for (const Watch& w : watches_) watched.push_back(w.key);
  for (const std::string& key : watched) Changed(key);
}

void SimRegistry::RefuseWritesUnder(RegKey root, const std::string& path) {
  refused_.insert(Normalize(root, path));
}

}  // namespace pw::sim
