#pragma once

#include "platform/win32/views/win32_colors.h"
#include "platform/win32/views/win32_control.h"

namespace pw::forms {
class Line;
}

namespace pw::winui {

// A one-pixel line in its colour, drawn by an owner-drawn STATIC over its bounding box (the
// forms only use horizontal and vertical lines).
class Win32Line : public Win32Control {
 public:
  Win32Line(forms::Line& model, const ControlContext& context);

  void Draw(const DRAWITEMSTRUCT& item) override;

 protected:
  RECT PixelBounds() const override;

 private:
  forms::Line& line_;
  ColorBrush brush_;
};

}  // namespace pw::winui
