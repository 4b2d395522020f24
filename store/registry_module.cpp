#include "store/registry_module.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <type_traits>
#include <vector>

namespace pw {

namespace {

constexpr std::uint32_t kFirstBufferSize = 1024;
// A size reported beyond this is taken as a fault of the registry, not as a value to fetch.
constexpr std::uint32_t kLargestValue = 64u << 20;

// Closes the key exactly once, whichever way the operation leaves.
class OpenKey {
 public:
  OpenKey(RegistryApi& api, RegKey key) : api_(api), key_(key) {}
  ~OpenKey() { Close(); }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  void Close() {
    if (key_ != 0) api_.RegCloseKey(key_);
    key_ = 0;
  }
  RegKey get() const { return key_; }

 private:
  RegistryApi& api_;
  RegKey key_;
};

// Text of a string value: the data up to its terminating zero; data without one keeps its
// last character.
std::string StringData(const std::vector<std::uint8_t>& data, std::uint32_t size) {
  std::size_t length = size;
  if (length > 0 && data[length - 1] == 0) --length;
  return std::string(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(length));
}

std::string MultiStringData(const std::vector<std::uint8_t>& data, std::uint32_t size) {
  std::size_t length = size;
  // The list ends in two zeros; keep what is there when it was stored without them.
  for (int i = 0; i < 2 && length > 0 && data[length - 1] == 0; ++i) --length;
  return std::string(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(length));
}

bool IsStorable(const RegistryValue& value) {
  return std::holds_alternative<std::int16_t>(value) ||
         std::holds_alternative<std::int32_t>(value) ||
         std::holds_alternative<std::string>(value) || std::holds_alternative<ByteArray>(value);
}

bool FitsInCount(std::size_t size) {
  return size <= std::numeric_limits<std::uint32_t>::max();
}

}  // namespace

bool RegistryModule::SaveRegValue(RegKey root, const std::string& path, const std::string& name,
                                  const RegistryValue& value) {
  RegKey handle = 0;
  if (api_.RegOpenKeyExA(root, path, 0, KEY_WRITE_, handle) != ERROR_SUCCESS_) {
    handle = 0;
    // A value that will be refused must not leave a new key behind.
    if (!IsStorable(value)) throw UnsupportedValueType();
    CreateRegKey(root, path);
    if (api_.RegOpenKeyExA(root, path, 0, KEY_WRITE_, handle) != ERROR_SUCCESS_) handle = 0;
  }
  OpenKey key(api_, handle);
  long result = ERROR_INVALID_HANDLE_;
  if (const auto* small = std::get_if<std::int16_t>(&value)) {
    const std::int32_t wide = *small;
    std::uint8_t bytes[4];
    std::memcpy(bytes, &wide, 4);
    if (handle != 0) result = api_.RegSetValueExA(handle, name, REG_DWORD_, bytes, 4);
  } else if (const auto* number = std::get_if<std::int32_t>(&value)) {
    std::uint8_t bytes[4];
    std::memcpy(bytes, number, 4);
    if (handle != 0) result = api_.RegSetValueExA(handle, name, REG_DWORD_, bytes, 4);
  } else if (const auto* text = std::get_if<std::string>(&value)) {
    if (handle != 0 && FitsInCount(text->size())) {
      result = api_.RegSetValueExA(handle, name, REG_SZ_,
                                   reinterpret_cast<const std::uint8_t*>(text->data()),
                                   static_cast<std::uint32_t>(text->size()));
    }
  } else if (const auto* array = std::get_if<ByteArray>(&value)) {
    if (handle != 0 && FitsInCount(array->bytes.size())) {
      result = api_.RegSetValueExA(handle, name, REG_BINARY_, array->bytes.data(),
                                   static_cast<std::uint32_t>(array->bytes.size()));
    }
  } else {
    key.Close();
    throw UnsupportedValueType();
  }
  return result == ERROR_SUCCESS_;
}

RegistryValue RegistryModule::GetRegValue(RegKey root, const std::string& path,
                                          const std::string& name,
                                          const RegistryValue& defaultValue) {
  RegKey handle = 0;
  if (api_.RegOpenKeyExA(root, path, 0, KEY_READ_, handle) != ERROR_SUCCESS_) return defaultValue;
  OpenKey key(api_, handle);

  std::vector<std::uint8_t> buffer(kFirstBufferSize);
  std::uint32_t size = kFirstBufferSize;
  std::uint32_t type = REG_NONE_;
  long result = api_.RegQueryValueExA(key.get(), name, type, buffer.data(), size);
  if (result == ERROR_MORE_DATA_) {
    if (size <= kFirstBufferSize || size > kLargestValue) return defaultValue;
    buffer.assign(size, 0);
    result = api_.RegQueryValueExA(key.get(), name, type, buffer.data(), size);
  }
  // Never trust a reported size beyond what was received.
  if (result != ERROR_SUCCESS_ || size > buffer.size()) return defaultValue;

  switch (type) {
    case REG_SZ_:
    case REG_EXPAND_SZ_:
      return StringData(buffer, size);
    case REG_MULTI_SZ_:
      return MultiStringData(buffer, size);
    case REG_BINARY_:
      buffer.resize(size);
      return ByteArray{std::move(buffer), 0};
    case REG_DWORD_: {
      // The first four bytes of the zero-filled buffer, so short data reads zero-extended.
      std::int32_t number = 0;
      std::memcpy(&number, buffer.data(), std::min<std::size_t>(4, buffer.size()));
      return number;
    }
    default:
      return defaultValue;
  }
}

bool RegistryModule::CreateRegKey(RegKey root, const std::string& path) {
  RegKey handle = 0;
  std::uint32_t disposition = 0;
  if (api_.RegCreateKeyExA(root, path, 0, 0, handle, disposition) != ERROR_SUCCESS_) return false;
  OpenKey key(api_, handle);
  return disposition == REG_OPENED_EXISTING_KEY_;
}

bool RegistryModule::DeleteRegValue(RegKey root, const std::string& path, const std::string& name) {
  RegKey handle = 0;
  const long opened = api_.RegOpenKeyExA(root, path, 0, KEY_WRITE_, handle);
  if (opened == ERROR_FILE_NOT_FOUND_) return true;
  if (opened != ERROR_SUCCESS_) return false;
  OpenKey key(api_, handle);
  const long result = api_.RegDeleteValueA(key.get(), name);
  return result == ERROR_SUCCESS_ || result == ERROR_FILE_NOT_FOUND_;
}

}  // namespace pw
