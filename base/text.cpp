#include "base/text.h"

#include <algorithm>

namespace pw {

char LowerAnsi(char c) {
  const auto u = static_cast<unsigned char>(c);
  if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) {
    return static_cast<char>(u + 0x20);
  }
  switch (u) {
    case 0x8A:  // Š
    case 0x8C:  // Œ
    case 0x8E:  // Ž
      return static_cast<char>(u + 0x10);
    case 0x9F:  // Ÿ
      return static_cast<char>(0xFF);
    default:
      return c;
  }
}

std::string LowerAnsi(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = LowerAnsi(c);
  return lowered;
}

std::string LeftAnsi(std::string_view text, std::size_t n) {
  return std::string(text.substr(0, std::min(n, text.size())));
}

bool EqualsIgnoreCaseAnsi(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAnsi(x) == LowerAnsi(y);
         });
}

}  // namespace pw
