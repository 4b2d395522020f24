#include "platform/win32/views/win32_controls.h"

#include "platform/forms/controls.h"
#include "platform/win32/views/win32_colors.h"

namespace pw::win32 {

Win32Label::Win32Label(forms::Label& model, const ControlContext& context)
    : Win32ControlOf(model, context) {
  Create(L"STATIC", model.Caption(), SS_LEFT, 0);
}

void Win32Label::Changed(forms::Prop what) {
  switch (what) {
    case forms::Prop::Caption:
      SetWindowTextIfChanged(model_.Caption());
      break;
    case forms::Prop::ForeColor:
      InvalidateRect(window_, nullptr, TRUE);
      break;
    default:
      Win32Control::Changed(what);
      break;
  }
}

HBRUSH Win32Label::Color(HDC dc) {
  SetTextColor(dc, ResolveColor(model_.ForeColor()));
  if (model_.design.transparent) {
    SetBkMode(dc, TRANSPARENT);
    return Win32Control::Color(dc);
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace pw::win32
