#include "platform/sim/sim_registry.h"

#include <algorithm>
#include <cstring>

#include "app/text.h"

namespace pw::sim {

namespace {

constexpr std::uint32_t kWriteBits = 0x2 | 0x4;  // KEY_SET_VALUE, KEY_CREATE_SUB_KEY

bool IsRoot(RegKey key) {
  return key >= 0x80000000u && key <= 0x80000006u;
}

std::string LowerName(const std::string& name) {
  return LowerAnsi(name);
}

}  // namespace

std::string SimRegistry::Normalize(RegKey root, const std::string& path) {
  std::string key = std::to_string(root);
  std::string part;
  auto flush = [&] {
    if (!part.empty()) key += "\\" + LowerAnsi(part);
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
  return key;
}

bool SimRegistry::Refused(const std::string& key) const {
  for (const std::string& prefix : refused_) {
    if (key == prefix || key.rfind(prefix + "\\", 0) == 0) return true;
  }
  return false;
}

const std::string* SimRegistry::KeyOf(RegKey handle) const {
  auto it = handles_.find(handle);
  return it == handles_.end() ? nullptr : &it->second;
}

RegKey SimRegistry::NewHandle(const std::string& key) {
  const RegKey handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = key;
  return handle;
}

long SimRegistry::RegOpenKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                                std::uint32_t access, RegKey& result) {
  (void)options;
  result = 0;
  std::string base;
  if (IsRoot(root)) {
    base = std::to_string(root);
  } else if (const std::string* key = KeyOf(root)) {
    base = *key;
  } else {
    return ERROR_INVALID_HANDLE_;
  }
  const std::string key = path.empty() ? base : base + Normalize(0, path).substr(1);
  if (!IsRoot(root) || !path.empty()) {
    if (keys_.count(key) == 0) return ERROR_FILE_NOT_FOUND_;
  }
  if ((access & kWriteBits) != 0 && Refused(key)) return ERROR_ACCESS_DENIED_;
  result = NewHandle(key);
  return ERROR_SUCCESS_;
}

long SimRegistry::RegCreateKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                                  std::uint32_t access, RegKey& result,
                                  std::uint32_t& disposition) {
  (void)options, (void)access;
  result = 0;
  if (!IsRoot(root)) return ERROR_INVALID_HANDLE_;
  const std::string key = Normalize(root, path);
  if (keys_.count(key) != 0) {
    disposition = REG_OPENED_EXISTING_KEY_;
  } else {
    if (Refused(key)) return ERROR_ACCESS_DENIED_;
    // Every missing level is created.
    for (std::size_t at = key.find('\\'); at != std::string::npos; at = key.find('\\', at + 1)) {
      keys_.try_emplace(key.substr(0, at));
    }
    keys_.try_emplace(key);
    disposition = REG_CREATED_NEW_KEY_;
  }
  result = NewHandle(key);
  return ERROR_SUCCESS_;
}

long SimRegistry::RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                                 const std::uint8_t* data, std::uint32_t size) {
  const std::string* path = KeyOf(key);
  if (path == nullptr) return ERROR_INVALID_HANDLE_;
  if (Refused(*path)) return ERROR_ACCESS_DENIED_;
  Value value{name, type, {}};
  if (data != nullptr && size > 0) value.data.assign(data, data + size);
  // The ANSI interface terminates string data that the caller passed without a zero.
  if ((type == REG_SZ_ || type == REG_EXPAND_SZ_) && !value.data.empty() &&
      value.data.back() != 0) {
    value.data.push_back(0);
  }
  keys_[*path][LowerName(name)] = std::move(value);
  return ERROR_SUCCESS_;
}

long SimRegistry::RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t& type,
                                   std::uint8_t* data, std::uint32_t& size) {
  ++queries_;
  const std::string* path = KeyOf(key);
  if (path == nullptr) return ERROR_INVALID_HANDLE_;
  const Values& values = keys_[*path];
  auto it = values.find(LowerName(name));
  if (it == values.end()) return ERROR_FILE_NOT_FOUND_;
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
  const std::string* path = KeyOf(key);
  if (path == nullptr) return ERROR_INVALID_HANDLE_;
  if (Refused(*path)) return ERROR_ACCESS_DENIED_;
  return keys_[*path].erase(LowerName(name)) != 0 ? ERROR_SUCCESS_ : ERROR_FILE_NOT_FOUND_;
}

long SimRegistry::RegCloseKey(RegKey key) {
  if (IsRoot(key)) return ERROR_SUCCESS_;
  return handles_.erase(key) != 0 ? ERROR_SUCCESS_ : ERROR_INVALID_HANDLE_;
}

void SimRegistry::Put(RegKey root, const std::string& path, const std::string& name,
                      std::uint32_t type, std::vector<std::uint8_t> bytes) {
  const std::string key = Normalize(root, path);
  for (std::size_t at = key.find('\\'); at != std::string::npos; at = key.find('\\', at + 1)) {
    keys_.try_emplace(key.substr(0, at));
  }
  keys_[key][LowerName(name)] = Value{name, type, std::move(bytes)};
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
  auto it = key->second.find(LowerName(name));
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
  return keys_.count(Normalize(root, path)) != 0;
}

std::vector<std::string> SimRegistry::ValueNames(RegKey root, const std::string& path) const {
  std::vector<std::string> names;
  auto key = keys_.find(Normalize(root, path));
  if (key == keys_.end()) return names;
  for (const auto& [lowered, value] : key->second) names.push_back(value.name);
  return names;
}

void SimRegistry::Clear() {
  keys_.clear();
  refused_.clear();
}

void SimRegistry::RefuseWritesUnder(RegKey root, const std::string& path) {
  refused_.insert(Normalize(root, path));
}

}  // namespace pw::sim
