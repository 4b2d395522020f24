#include "store/time_delay.h"

#include <string_view>

namespace pw {

namespace {

constexpr int kShortest = 5;
constexpr int kLongest = 99;
// Exponents beyond this put any non-zero number far outside the range; clamping keeps the sums
// below small.
constexpr long kExponentLimit = 100000;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A decimal number with at most one point and an optional exponent, as digits and the place of
// the point among them: the value is 0.digits times ten to the power of point. Worked on the
// text itself, so no length and no number of digits can make it round the wrong way.
struct Decimal {
  bool negative = false;
  std::string digits;
  long point = 0;
};

bool ParseDecimal(std::string_view text, Decimal& number) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number.negative = text[i++] == '-';
  long wholeDigits = 0;
  bool seenPoint = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      number.digits += text[i];
      if (!seenPoint) ++wholeDigits;
    } else if (text[i] == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (number.digits.empty()) return false;
  long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    const std::size_t start = i;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      if (exponent < kExponentLimit) exponent = exponent * 10 + (text[i] - '0');
    }
    if (i == start) return false;
    if (negativeExponent) exponent = -exponent;
  }
  if (i != text.size()) return false;
  // Leading zeros carry nothing; the digits count is bounded by the text, the exponent above.
  const std::size_t zeros = number.digits.find_first_not_of('0');
  number.point = wholeDigits + exponent;
  if (zeros == std::string::npos) {
    number.digits.clear();
  } else {
    number.digits.erase(0, zeros);
    number.point -= static_cast<long>(zeros);
  }
  return true;
}

// The whole number nearest to a non-negative decimal, halves to the even neighbour; -1 when it
// is beyond every limit this reading accepts.
long RoundToWhole(const Decimal& number) {
  const std::string& d = number.digits;
  if (d.empty() || number.point < 0) return 0;  // below 0.1
  if (number.point > 5) return -1;              // 100000 or more
  long whole = 0;
  for (long i = 0; i < number.point; ++i) {
    whole =
        whole * 10 + (i < static_cast<long>(d.size()) ? d[static_cast<std::size_t>(i)] - '0' : 0);
  }
  const auto first = static_cast<std::size_t>(number.point);
  const char next = first < d.size() ? d[first] : '0';
  const bool moreAfter =
      first + 1 < d.size() && d.find_first_not_of('0', first + 1) != std::string::npos;
  if (next > '5' || (next == '5' && (moreAfter || whole % 2 == 1))) ++whole;
  return whole;
}

}  // namespace

std::int16_t ParseTimeDelay(const std::string& text) {
  if (text.empty() || text == "[NOT FOUND]") return 0;
  std::string_view trimmed(text);
  while (!trimmed.empty() && IsBlank(trimmed.front())) trimmed.remove_prefix(1);
  while (!trimmed.empty() && IsBlank(trimmed.back())) trimmed.remove_suffix(1);
  Decimal number;
  if (!ParseDecimal(trimmed, number)) return 0;
  // A negative number rounds to at most 0, and so is no time limit whatever its size.
  if (number.negative) return 0;
  const long seconds = RoundToWhole(number);
  if (seconds < kShortest || seconds > kLongest) return 0;
  return static_cast<std::int16_t>(seconds);
}

}  // namespace pw
