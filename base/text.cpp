#include "base/text.h"

#include <algorithm>
#include <array>
#include <utility>

namespace pw {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

char LowerAsciiChar(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The length of the well-formed character at the start of text, and its value; 0 when the
// bytes there start none.
std::pair<std::size_t, char32_t> Decode(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return {1, lead};
  std::size_t length = 0;
  char32_t value = 0;
  char32_t least = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, least = 0x10000;
  } else {
    return {0, 0};
  }
  if (text.size() < length) return {0, 0};
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!IsContinuation(byte)) return {0, 0};
    value = (value << 6) | (byte & 0x3F);
  }
  // Overlong forms, surrogates and values beyond Unicode are no characters.
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {0, 0};
  return {length, value};
}

}  // namespace

std::string LowerAscii(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = LowerAsciiChar(c);
  return lowered;
}

bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAsciiChar(x) == LowerAsciiChar(y);
         });
}

std::string LeftChars(std::string_view text, std::size_t n) {
  std::size_t end = 0;
  for (std::size_t count = 0; end < text.size() && count < n; ++count) {
    ++end;
    while (end < text.size() && IsContinuation(static_cast<unsigned char>(text[end]))) ++end;
  }
  return std::string(text.substr(0, end));
}

std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const auto [length, value] = Decode(text);
    if (length == 0) {
      AppendUtf8(out, kReplacement);
      text.remove_prefix(1);
    } else {
      out.append(text.substr(0, length));
      text.remove_prefix(length);
    }
  }
  return out;
}

bool IsDefaultIgnorable(char32_t c) {
  // Unicode's DerivedCoreProperties, Default_Ignorable_Code_Point.
  static constexpr std::array<std::pair<char32_t, char32_t>, 17> kRanges{{
      {0x00AD, 0x00AD},
      {0x034F, 0x034F},
      {0x061C, 0x061C},
      {0x115F, 0x1160},
      {0x17B4, 0x17B5},
      {0x180B, 0x180F},
      {0x200B, 0x200F},
      {0x202A, 0x202E},
      {0x2060, 0x206F},
      {0x3164, 0x3164},
      {0xFE00, 0xFE0F},
      {0xFEFF, 0xFEFF},
      {0xFFA0, 0xFFA0},
      {0xFFF0, 0xFFF8},
      {0x1BCA0, 0x1BCA3},
      {0x1D173, 0x1D17A},
      {0xE0000, 0xE0FFF},
  }};
  return std::any_of(kRanges.begin(), kRanges.end(),
                     [c](const auto& range) { return c >= range.first && c <= range.second; });
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace pw
