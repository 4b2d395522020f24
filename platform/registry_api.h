#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace pw {

// Registry key handles, predefined roots included, as the advapi32 ANSI interface sees them.
using RegKey = std::uintptr_t;

inline constexpr RegKey HKEY_LOCAL_MACHINE_ = 0x80000002u;

inline constexpr long ERROR_SUCCESS_ = 0;
inline constexpr long ERROR_FILE_NOT_FOUND_ = 2;
inline constexpr long ERROR_ACCESS_DENIED_ = 5;
inline constexpr long ERROR_INVALID_HANDLE_ = 6;
inline constexpr long ERROR_MORE_DATA_ = 234;

inline constexpr std::uint32_t REG_NONE_ = 0;
inline constexpr std::uint32_t REG_SZ_ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ_ = 2;
inline constexpr std::uint32_t REG_BINARY_ = 3;
inline constexpr std::uint32_t REG_DWORD_ = 4;
inline constexpr std::uint32_t REG_DWORD_BIG_ENDIAN_ = 5;
inline constexpr std::uint32_t REG_MULTI_SZ_ = 7;

inline constexpr std::uint32_t KEY_READ_ = 0x20019;
inline constexpr std::uint32_t KEY_WRITE_ = 0x20006;
inline constexpr std::uint32_t KEY_NOTIFY_ = 0x0010;

inline constexpr std::uint32_t REG_CREATED_NEW_KEY_ = 1;
inline constexpr std::uint32_t REG_OPENED_EXISTING_KEY_ = 2;

// The advapi32 subset the settings store is written against, plus deleting a value.
class RegistryApi {
 public:
  virtual ~RegistryApi() = default;

  virtual long RegOpenKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                             std::uint32_t access, RegKey& result) = 0;
  // Creates every missing level of the path.
  virtual long RegCreateKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                               std::uint32_t access, RegKey& result,
                               std::uint32_t& disposition) = 0;
  // The ANSI interface adds a missing terminating zero to REG_SZ data of non-zero size.
  virtual long RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                              const std::uint8_t* data, std::uint32_t size) = 0;
  // On ERROR_MORE_DATA, size holds the length needed. A missing value leaves type unchanged.
  virtual long RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t& type,
                                std::uint8_t* data, std::uint32_t& size) = 0;
  virtual long RegDeleteValueA(RegKey key, const std::string& name) = 0;
  virtual long RegCloseKey(RegKey key) = 0;

  // Asks for one notice after the next change of the key (a value set, added or deleted, or the
  // key itself deleted), from any process. The notice is a call of onChange from this process's
  // event loop, never from inside the call that made the change. Closing the key drops a notice
  // not yet delivered. The key needs KEY_NOTIFY access.
  virtual long RegNotifyChangeKeyValue(RegKey key, std::function<void()> onChange) = 0;
};

}  // namespace pw
