#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace pw {

struct Empty {
  bool operator==(const Empty&) const = default;
};

// A one-dimensional byte array with its lower bound.
struct ByteArray {
  std::vector<std::uint8_t> bytes;
  int lowerBound = 0;
  bool operator==(const ByteArray&) const = default;
};

// Kinds the registry does not take: they exist so that a caller can pass them and be refused.
struct OtherValue {
  std::string kind;  // "Double", "Boolean", "Date", ...
  double number = 0;
  bool operator==(const OtherValue&) const = default;
};

// The value that crosses the registry interface.
using RegistryValue = std::variant<Empty, std::int16_t, std::int32_t, std::string, ByteArray,
                                   double, bool, OtherValue>;

// Error 1001: a value of a kind the registry does not store.
class UnsupportedValueType : public std::runtime_error {
 public:
  UnsupportedValueType() : std::runtime_error("Unsupported value type") {}
  int code() const { return 1001; }
};

// What every reader makes of a read value: empty for nothing, decimal digits for numbers, the
// bytes themselves for a byte array.
std::string ValueToText(const RegistryValue& value);

}  // namespace pw
