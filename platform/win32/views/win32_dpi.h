#pragma once

#include "platform/win32/views/win32_ui_handles.h"

namespace pw::win32 {

inline constexpr int kTwipsPerInch = 1440;

// The screen's dots per inch; converts the forms' twips to pixels.
struct Dpi {
  int x = 96;
  int y = 96;

  int X(int twips) const { return MulDiv(twips, x, kTwipsPerInch); }
  int Y(int twips) const { return MulDiv(twips, y, kTwipsPerInch); }
};

}  // namespace pw::win32
