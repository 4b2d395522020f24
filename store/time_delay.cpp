#include "store/time_delay.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

namespace pw {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// A decimal number as a numeric conversion takes it: blanks around, an optional sign, digits
// with at most one decimal point, an optional exponent. False for anything else.
bool ParseNumber(std::string_view text, double& number) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty() || text.size() > 64) return false;
  std::size_t i = 0;
  if (text[i] == '+' || text[i] == '-') ++i;
  bool digits = false, point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t start = j;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    if (j == start) return false;
    i = j;
  }
  if (i != text.size()) return false;
  const std::string copy(text);
  char* end = nullptr;
  number = std::strtod(copy.c_str(), &end);
  return end == copy.c_str() + copy.size() && std::isfinite(number);
}

}  // namespace

std::int16_t ParseTimeDelay(const std::string& text) {
  if (text.empty() || text == "[NOT FOUND]") return 0;
  double number = 0;
  if (!ParseNumber(text, number)) return 0;
  const double rounded = std::nearbyint(number);  // halves go to the even neighbour
  if (rounded < -32768 || rounded > 32767) return 0;
  if (rounded < 5 || rounded > 99) return 0;
  return static_cast<std::int16_t>(rounded);
}

}  // namespace pw
