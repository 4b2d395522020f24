#include "fuzz/time_delay_reference.h"

#include <cctype>
#include <optional>

namespace pw::fuzz {

namespace {

// A number written out in plain positional form: whole part without leading zeros, fraction
// without trailing zeros.
struct Plain {
  bool negative = false;
  std::string whole;
  std::string fraction;
  bool huge = false;  // more whole digits than any limit needs
};

bool Blank(char c) {
  return c == ' ' || c == '\t';
}

bool Digit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Mantissa, then exponent, then the point moved by the exponent, one digit at a time.
std::optional<Plain> ToPlain(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && Blank(text[begin])) ++begin;
  while (end > begin && Blank(text[end - 1])) --end;
  const std::string s = text.substr(begin, end - begin);

  Plain p;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) p.negative = s[i++] == '-';
  std::string left, right;
  while (i < s.size() && Digit(s[i])) left += s[i++];
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && Digit(s[i])) right += s[i++];
  }
  if (left.empty() && right.empty()) return std::nullopt;
  long long shift = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    int sign = 1;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) sign = s[i++] == '-' ? -1 : 1;
    if (i >= s.size() || !Digit(s[i])) return std::nullopt;
    for (; i < s.size() && Digit(s[i]); ++i) {
      if (shift < 1000000) shift = shift * 10 + (s[i] - '0');
    }
    shift *= sign;
  }
  if (i != s.size()) return std::nullopt;

  // Moving the point further than the digits reach only adds zeros, which do not change
  // which side of a half the number lies on.
  const long long reach = static_cast<long long>(left.size() + right.size()) + 8;
  if (shift > reach) shift = reach;
  if (shift < -reach) shift = -reach;
  for (; shift > 0; --shift) {
    left += right.empty() ? '0' : right.front();
    if (!right.empty()) right.erase(0, 1);
  }
  for (; shift < 0; ++shift) {
    right.insert(right.begin(), left.empty() ? '0' : left.back());
    if (!left.empty()) left.pop_back();
  }
  while (!left.empty() && left.front() == '0') left.erase(0, 1);
  while (!right.empty() && right.back() == '0') right.pop_back();
  p.huge = left.size() > 6;
  p.whole = left;
  p.fraction = right;
  return p;
}

int Compare(const std::string& a, const std::string& b) {
  return a < b ? -1 : (a == b ? 0 : 1);
}

}  // namespace

int ReferenceTimeDelay(const std::string& text) {
  if (text.empty() || text == "[NOT FOUND]") return 0;
  const std::optional<Plain> p = ToPlain(text);
  if (!p || p->huge) return 0;
  // Zero (of either sign) and every negative number round below 5.
  if (p->negative) return 0;
  // The number rounds to n when it lies between n - 0.5 and n + 0.5; at a half exactly it goes
  // to the even one of the two.
  for (int n = 5; n <= 99; ++n) {
    const std::string below = std::to_string(n - 1);
    const std::string at = std::to_string(n);
    // Above n - 0.5: whole part n - 1 with a fraction above .5 (or .5 when n is even), or
    // whole part n with a fraction below .5 (or .5 when n is even).
    if (p->whole == below) {
      const int c = Compare(p->fraction, "5");
      if (c > 0 || (c == 0 && n % 2 == 0)) return n;
    }
    if (p->whole == at) {
      const int c = Compare(p->fraction, "5");
      if (c < 0 || (c == 0 && n % 2 == 0)) return n;
    }
  }
  return 0;
}

}  // namespace pw::fuzz
