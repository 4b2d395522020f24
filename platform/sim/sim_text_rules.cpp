#include "platform/sim/sim_text_rules.h"

#include <utf8proc.h>

#include <cstdlib>
#include <memory>

#include "base/text.h"

namespace pw::sim {

namespace {

const utf8proc_uint8_t* Bytes(const std::string& text) {
  return reinterpret_cast<const utf8proc_uint8_t*>(text.data());
}

}  // namespace

std::string SimTextRules::ReaderForm(std::string_view text) {
  const std::string valid = ValidUtf8(text);
  utf8proc_uint8_t* mapped = nullptr;
  const utf8proc_ssize_t length = utf8proc_map(
      Bytes(valid), static_cast<utf8proc_ssize_t>(valid.size()), &mapped,
      static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE | UTF8PROC_COMPAT |
                                     UTF8PROC_CASEFOLD | UTF8PROC_IGNORE));
  const std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owned(mapped, &std::free);
  if (length < 0) return valid;
  return std::string(reinterpret_cast<const char*>(mapped), static_cast<std::size_t>(length));
}

std::string SimTextRules::Lower(std::string_view text) {
  const std::string valid = ValidUtf8(text);
  std::string lowered;
  lowered.reserve(valid.size());
  utf8proc_ssize_t at = 0;
  const auto size = static_cast<utf8proc_ssize_t>(valid.size());
  while (at < size) {
    utf8proc_int32_t c = 0;
    at += utf8proc_iterate(Bytes(valid) + at, size - at, &c);
    AppendUtf8(lowered, static_cast<char32_t>(utf8proc_tolower(c)));
  }
  return lowered;
}

}  // namespace pw::sim
