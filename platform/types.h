#pragma once

#include <cstdint>

namespace pw {

// Window handles are 32-bit values; 0 means no window.
using Hwnd = std::uint32_t;
// Registry key handles, predefined roots included, as the advapi32 ANSI interface sees them.
using RegKey = std::uintptr_t;
using Millis = std::int64_t;

struct Point {
  int x = 0;
  int y = 0;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

}  // namespace pw
