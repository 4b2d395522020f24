#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pw {

// The program's text is UTF-8; these helpers never split a character.

// Lowers A-Z only, leaving every other character as it is: for names the system compares
// letter case aside (window classes, registry names) where a test machine needs no more.
std::string LowerAscii(std::string_view text);
bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b);
// The first n characters (all of them when there are fewer).
std::string LeftChars(std::string_view text, std::size_t n);
// Each byte that starts no well-formed character becomes U+FFFD, as the system's conversion
// does, so that text read from anywhere can be handed on as UTF-8.
std::string ValidUtf8(std::string_view text);
// Characters that show nothing: zero-width spaces and joiners, direction marks, the soft hyphen,
// the byte order mark, variation selectors and the like (Unicode's default-ignorable set).
bool IsDefaultIgnorable(char32_t c);
// Appends one character.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace pw
