#include "service/password_record.h"

#include <algorithm>
#include <charconv>

namespace pw::service {

namespace {

constexpr std::string_view kScheme = "pbkdf2-sha256";
constexpr std::uint32_t kMostIterations = 100'000'000;

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0xF];
  }
  return text;
}

std::optional<std::vector<std::uint8_t>> FromHex(std::string_view text) {
  if (text.empty() || text.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    std::uint8_t b = 0;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + i + 2, b, 16);
    if (error != std::errc{} || end != text.data() + i + 2) return std::nullopt;
    bytes.push_back(b);
  }
  return bytes;
}

// The next part up to a '$', taken off the front.
std::string_view TakePart(std::string_view& text) {
  const std::size_t at = text.find('$');
  const std::string_view part = text.substr(0, at);
  text = at == std::string_view::npos ? std::string_view{} : text.substr(at + 1);
  return part;
}

}  // namespace

PasswordRecord PasswordRecord::Make(std::string_view password, KeyMaker& maker,
                                    std::uint32_t iterations) {
  PasswordRecord record;
  record.iterations = iterations;
  record.salt = maker.RandomBytes(kSaltSize);
  record.hash = maker.DeriveKey(password, record.salt, iterations);
  return record;
}

std::optional<PasswordRecord> PasswordRecord::Parse(std::string_view text) {
  // Exactly four parts: taking the last one off would also swallow a trailing '$'.
  if (std::count(text.begin(), text.end(), '$') != 3) return std::nullopt;
  if (TakePart(text) != kScheme) return std::nullopt;
  const std::string_view count = TakePart(text);
  PasswordRecord record;
  const auto [end, error] =
      std::from_chars(count.data(), count.data() + count.size(), record.iterations);
  if (error != std::errc{} || end != count.data() + count.size() || record.iterations == 0 ||
      record.iterations > kMostIterations) {
    return std::nullopt;
  }
  auto salt = FromHex(TakePart(text));
  auto hash = FromHex(TakePart(text));
  if (!salt || !hash || !text.empty() || hash->size() != kHashSize) return std::nullopt;
  record.salt = std::move(*salt);
  record.hash = std::move(*hash);
  return record;
}

std::string PasswordRecord::Format() const {
  return std::string(kScheme) + "$" + std::to_string(iterations) + "$" + Hex(salt) + "$" +
         Hex(hash);
}

bool PasswordRecord::Matches(std::string_view password, KeyMaker& maker) const {
  const std::vector<std::uint8_t> derived = maker.DeriveKey(password, salt, iterations);
  if (derived.size() != hash.size()) return false;
  std::uint8_t difference = 0;
  for (std::size_t i = 0; i < hash.size(); ++i) difference |= derived[i] ^ hash[i];
  return difference == 0;
}

}  // namespace pw::service
