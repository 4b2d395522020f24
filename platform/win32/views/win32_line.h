#pragma once

#include "platform/forms/controls.h"
#include "platform/win32/views/win32_colors.h"
#include "platform/win32/views/win32_control.h"

namespace pw::win32 {

// A one-pixel line in its colour, drawn by an owner-drawn STATIC over its bounding box (the
// forms only use horizontal and vertical lines).
class Win32Line : public Win32ControlOf<forms::Line> {
 public:
  Win32Line(forms::Line& model, const ControlContext& context);

  void Draw(const DRAWITEMSTRUCT& item) override;

 protected:
  RECT PixelBounds() const override;

 private:
  ColorBrush brush_;
};

}  // namespace pw::win32
