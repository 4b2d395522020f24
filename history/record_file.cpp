#include "history/record_file.h"

#include <array>
#include <cstring>

namespace pw::history {

namespace {

constexpr std::array<std::uint8_t, kHeaderSize> kMagic{'P', 'W', 'H', 'I', 'S', 'T', '1', '\n'};

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

constexpr auto kCrcTable = MakeCrcTable();

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (const std::uint8_t b : bytes) c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::uint32_t U32At(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void AppendFramed(std::vector<std::uint8_t>& out, const Entry& entry) {
  const std::size_t at = out.size();
  out.resize(at + 8);
  AppendEncoded(out, entry);
  const std::span<const std::uint8_t> body(out.data() + at + 8, out.size() - at - 8);
  const std::uint32_t length = static_cast<std::uint32_t>(body.size());
  const std::uint32_t crc = Crc32(body);
  for (int i = 0; i < 4; ++i) {
    out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (8 * i));
    out[at + 4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (8 * i));
  }
}

}  // namespace

Parsed Parse(std::span<const std::uint8_t> bytes) {
  Parsed parsed;
  if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic.data(), kHeaderSize) != 0) {
    return parsed;
  }
  parsed.ours = true;
  std::size_t at = kHeaderSize;
  parsed.goodLength = at;
  while (bytes.size() - at >= 8) {
    const std::uint32_t length = U32At(bytes, at);
    if (length > kLongestEntry || bytes.size() - at - 8 < length) break;
    const auto body = bytes.subspan(at + 8, length);
    if (Crc32(body) != U32At(bytes, at + 4)) break;
    auto entry = Decode(body);
    if (!entry) break;
    parsed.entries.push_back(std::move(*entry));
    at += 8 + length;
    parsed.goodLength = at;
  }
  return parsed;
}

std::vector<std::uint8_t> Header() {
  return {kMagic.begin(), kMagic.end()};
}

std::vector<std::uint8_t> Framed(const Entry& entry) {
  std::vector<std::uint8_t> out;
  AppendFramed(out, entry);
  return out;
}

std::vector<std::uint8_t> Image(std::span<const Entry> entries) {
  std::vector<std::uint8_t> out = Header();
  for (const Entry& entry : entries) AppendFramed(out, entry);
  return out;
}

}  // namespace pw::history
