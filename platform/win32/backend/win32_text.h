#pragma once

#include <string>
#include <string_view>

namespace pw::win32 {

// The one place where the program's UTF-8 text meets the system's UTF-16. Malformed input turns
// into U+FFFD either way; nothing is lost silently.
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace pw::win32
