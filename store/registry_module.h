#pragma once

#include <string>

#include "platform/registry_api.h"
#include "store/registry_value.h"

namespace pw {

// The only code that touches stored settings. Every operation opens its own key handle, does its
// work and closes it again; callers never see handles or error codes.
class RegistryModule {
 public:
  explicit RegistryModule(RegistryApi& api) : api_(api) {}

  // True when the registry took the value. Throws UnsupportedValueType (error 1001) for a kind
  // it does not store, after closing the key and without writing.
  bool SaveRegValue(RegKey root, const std::string& path, const std::string& name,
                    const RegistryValue& value);
  // The stored value converted by its type, or the default (empty when none is given).
  RegistryValue GetRegValue(RegKey root, const std::string& path, const std::string& name,
                            const RegistryValue& defaultValue = Empty{});
  // True when the key already existed; false when it was created or could not be.
  bool CreateRegKey(RegKey root, const std::string& path);
  // True when the value is gone afterwards, also when it never existed.
  bool DeleteRegValue(RegKey root, const std::string& path, const std::string& name);

 private:
  RegistryApi& api_;
};

}  // namespace pw
