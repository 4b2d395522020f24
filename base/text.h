#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pw {

// Single-byte text as Windows code page 1252 has it.
char LowerAnsi(char c);
// Lowers A-Z and the accented capitals (É to é, Š to š, Ÿ to ÿ), as Windows does for 1252.
std::string LowerAnsi(std::string_view text);
// The first n characters (all of them when there are fewer).
std::string LeftAnsi(std::string_view text, std::size_t n);
bool EqualsIgnoreCaseAnsi(std::string_view a, std::string_view b);

}  // namespace pw
