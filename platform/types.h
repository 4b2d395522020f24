#pragma once

#include <cstdint>

namespace pw {

// Window handles are 32-bit values; 0 means no window.
using Hwnd = std::uint32_t;
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

inline constexpr std::uint32_t WM_CLOSE_ = 0x0010;
inline constexpr std::uint32_t WM_MOUSEMOVE_ = 0x0200;
inline constexpr int SW_RESTORE_ = 9;
inline constexpr Hwnd HWND_TOPMOST_ = 0xFFFFFFFFu;  // (HWND)-1
inline constexpr std::uint32_t SWP_NOSIZE_NOMOVE_NOACTIVATE = 0x13;

}  // namespace pw
