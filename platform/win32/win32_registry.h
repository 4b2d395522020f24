#pragma once

#include <cstdint>
#include <string>

#include "platform/registry_api.h"

namespace pw {

// advapi32's single-byte registry calls, always in the 32-bit view, so that the 32-bit and the
// 64-bit builds (and earlier 32-bit installs) share their settings. Holds no state: every key
// handle belongs to the caller, who closes it.
class Win32Registry : public RegistryApi {
 public:
  long RegOpenKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                     std::uint32_t access, RegKey& result) override;
  long RegCreateKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                       std::uint32_t access, RegKey& result, std::uint32_t& disposition) override;
  long RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                      const std::uint8_t* data, std::uint32_t size) override;
  long RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t& type,
                        std::uint8_t* data, std::uint32_t& size) override;
  long RegDeleteValueA(RegKey key, const std::string& name) override;
  long RegCloseKey(RegKey key) override;
};

}  // namespace pw
