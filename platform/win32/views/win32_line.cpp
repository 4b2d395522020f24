#include "platform/win32/views/win32_line.h"

#include <algorithm>

#include "platform/forms/controls.h"

namespace pw::win32 {

Win32Line::Win32Line(forms::Line& model, const ControlContext& context)
    : Win32ControlOf(model, context), brush_(model.Geometry().color) {
  Create(L"STATIC", "", SS_OWNERDRAW, 0);
}

RECT Win32Line::PixelBounds() const {
  const forms::LineState g = model_.Geometry();
  const Dpi& d = context_.dpi;
  const int left = d.X(std::min(g.x1, g.x2));
  const int top = d.Y(std::min(g.y1, g.y2));
  const int right = std::max(d.X(std::max(g.x1, g.x2)), left + 1);
  const int bottom = std::max(d.Y(std::max(g.y1, g.y2)), top + 1);
  return RECT{left, top, right, bottom};
}

void Win32Line::Draw(const DRAWITEMSTRUCT& item) {
  FillRect(item.hDC, &item.rcItem, brush_.Get());
}

}  // namespace pw::win32
