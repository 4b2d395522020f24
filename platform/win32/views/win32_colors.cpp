#include "platform/win32/views/win32_colors.h"

namespace pw::win32 {

namespace {

constexpr std::uint32_t kSystemColorFlag = 0x80000000u;

bool IsSystemColor(std::uint32_t color) {
  return (color & kSystemColorFlag) != 0;
}

int SystemIndex(std::uint32_t color) {
  return static_cast<int>(color & 0xFFu);
}

}  // namespace

COLORREF ResolveColor(std::uint32_t color) {
  if (IsSystemColor(color)) return GetSysColor(SystemIndex(color));
  return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

ColorBrush::ColorBrush(std::uint32_t color) : color_(ResolveColor(color)) {
  if (IsSystemColor(color)) {
    brush_ = GetSysColorBrush(SystemIndex(color));
  } else {
    owned_.reset(CreateSolidBrush(color_));
    brush_ = owned_.get();
  }
  // Without a brush the control still paints, in the system face colour.
  if (brush_ == nullptr) brush_ = GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace pw::win32
