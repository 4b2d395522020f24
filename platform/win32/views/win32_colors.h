#pragma once

#include <cstdint>

#include "platform/win32/views/win32_ui_handles.h"

namespace pw::win32 {

// A forms colour value: 0x80000000 plus an index is a system colour, anything else is a
// blue-green-red value as COLORREF holds it.
COLORREF ResolveColor(std::uint32_t color);

// A solid brush for a forms colour; system colours use the system's own brush.
class ColorBrush {
 public:
  explicit ColorBrush(std::uint32_t color);

  HBRUSH Get() const { return brush_; }
  COLORREF Color() const { return color_; }

 private:
  UniqueBrush owned_;
  HBRUSH brush_ = nullptr;
  COLORREF color_ = 0;
};

}  // namespace pw::win32
