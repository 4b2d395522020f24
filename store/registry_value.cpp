#include "store/registry_value.h"

#include <cstdio>
#include <type_traits>

namespace pw {

std::string ValueToText(const RegistryValue& value) {
  return std::visit(
      [](const auto& v) -> std::string {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, Empty>) {
          return {};
        } else if constexpr (std::is_same_v<T, std::string>) {
          return v;
        } else if constexpr (std::is_same_v<T, ByteArray>) {
          return std::string(v.bytes.begin(), v.bytes.end());
        } else if constexpr (std::is_same_v<T, bool>) {
          return v ? "True" : "False";
        } else if constexpr (std::is_same_v<T, double>) {
          char text[32];
          std::snprintf(text, sizeof text, "%.15g", v);
          return text;
        } else if constexpr (std::is_same_v<T, OtherValue>) {
          return v.kind;
        } else {
          return std::to_string(v);
        }
      },
      value);
}

}  // namespace pw
