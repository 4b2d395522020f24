#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/types.h"
#include "platform/win32_constants.h"

namespace pw {

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
  // Text (REG_SZ, REG_EXPAND_SZ) is UTF-8; a missing terminating zero is added.
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
