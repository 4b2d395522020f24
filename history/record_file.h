#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "history/entry.h"

namespace pw::history {

// The record file: a fixed header, then entries, each its length (4 bytes), a CRC-32 of its
// bytes (4 bytes) and the bytes. An entry is written whole and flushed before the next one,
// so a power cut can damage only the last one; a reader stops at the first entry that does
// not check out, and everything before it stands.
inline constexpr std::size_t kHeaderSize = 8;
inline constexpr std::size_t kLongestEntry = 64 * 1024;

struct Parsed {
  bool ours = false;           // the header is ours
  std::vector<Entry> entries;  // every whole entry, oldest first
  std::size_t goodLength = 0;  // the bytes up to the end of the last whole entry
};

Parsed Parse(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> Header();
// One entry as it is appended to the file.
std::vector<std::uint8_t> Framed(const Entry& entry);
// A whole file holding these entries.
std::vector<std::uint8_t> Image(std::span<const Entry> entries);

}  // namespace pw::history
