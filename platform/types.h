#pragma once

#include <cstdint>

namespace pw {

// Window handles are 32-bit values; 0 means no window.
using Hwnd = std::uint32_t;
// Registry key handles, predefined roots included, as advapi32 sees them.
using RegKey = std::uintptr_t;
using Millis = std::int64_t;

// A process, told apart from a later one given the same number by its start time. An id of 0
// means none known.
struct ProcessKey {
  std::uint32_t id = 0;
  std::uint64_t started = 0;
  auto operator<=>(const ProcessKey&) const = default;
};

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
