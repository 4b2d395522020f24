#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw::service {

// What derives keys from passwords and makes salts: Windows CNG in the service, a library made
// for it on the simulation.
class KeyMaker {
 public:
  virtual ~KeyMaker() = default;
  // PBKDF2 with HMAC-SHA256.
  virtual std::vector<std::uint8_t> DeriveKey(std::string_view password,
                                              const std::vector<std::uint8_t>& salt,
                                              std::uint32_t iterations) = 0;
  virtual std::vector<std::uint8_t> RandomBytes(std::size_t count) = 0;
};

// A password as the service keeps it: salted PBKDF2-HMAC-SHA256 with its iteration count, so a
// later version can raise the count for new passwords and still read the old ones. Stored as
// text "pbkdf2-sha256$iterations$salt$hash" (hex).
struct PasswordRecord {
  // About 45 ms of one core here, so that a check answers within 100 ms on a slower PC too, and
  // a store (a check and a new hash) within the guard's 2 s even under Wine's slower CNG.
  static constexpr std::uint32_t kIterations = 200'000;
  static constexpr std::size_t kSaltSize = 16;
  static constexpr std::size_t kHashSize = 32;

  std::uint32_t iterations = kIterations;
  std::vector<std::uint8_t> salt;
  std::vector<std::uint8_t> hash;

  static PasswordRecord Make(std::string_view password, KeyMaker& maker,
                             std::uint32_t iterations = kIterations);
  // Nothing for text that is not a record this version reads, or one with an absurd count.
  static std::optional<PasswordRecord> Parse(std::string_view text);
  std::string Format() const;
  // Compares in time that does not depend on where the hashes differ.
  bool Matches(std::string_view password, KeyMaker& maker) const;
};

}  // namespace pw::service
