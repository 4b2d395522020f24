#pragma once

#include <cstdint>
#include <string>

namespace pw {

// The stored prompt time limit in seconds: 5 to 99, anything else (or nothing) is 0.
std::int16_t ParseTimeDelay(const std::string& text);

}  // namespace pw
