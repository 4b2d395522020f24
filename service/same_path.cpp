#include "service/same_path.h"

#include <algorithm>

namespace pw::service {

namespace {

char Fold(char c) {
  if (c == '/') return '\\';
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  return c;
}

}  // namespace

bool SamePath(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return Fold(x) == Fold(y); });
}

}  // namespace pw::service
