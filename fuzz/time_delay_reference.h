#pragma once

#include <string>

namespace pw::fuzz {

// The stored time limit read a second way, written apart from the program's reading so that
// the two can be compared: the seconds 5 to 99 the text stands for, else 0.
int ReferenceTimeDelay(const std::string& text);

}  // namespace pw::fuzz
