#pragma once

#include "service/authority.h"

namespace pw::service {

// The authority's system side in the service: PBKDF2 and random bytes from Windows CNG, and
// the vault's access list.
class CngKeys : public AuthorityHost {
 public:
  std::vector<std::uint8_t> DeriveKey(std::string_view password,
                                      const std::vector<std::uint8_t>& salt,
                                      std::uint32_t iterations) override;
  std::vector<std::uint8_t> RandomBytes(std::size_t count) override;
  bool ProtectVault() override;
};

}  // namespace pw::service
