#include "platform/win32/views/win32_controls.h"

#include "platform/forms/controls.h"
#include "platform/win32/views/win32_images.h"

namespace pw::win32 {

namespace {

constexpr LONG_PTR kKindStyles = SS_TYPEMASK | SS_CENTERIMAGE;

}  // namespace

Win32Picture::Win32Picture(forms::Picture& model, const ControlContext& context)
    : Win32ControlOf(model, context) {
  Create(L"STATIC", "", SS_ICON | SS_CENTERIMAGE, 0);
  ShowPicture();
}

void Win32Picture::ShowPicture() const {
  const std::string name = model_.Resource();
  const bool stretch = model_.design.stretch;
  const RECT r = PixelBounds();
  const int width = stretch ? r.right - r.left : 0;
  const int height = stretch ? r.bottom - r.top : 0;
  const bool icon = Win32Images::IsIcon(name);
  LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE) & ~kKindStyles;
  style |= icon ? (SS_ICON | SS_CENTERIMAGE) : SS_BITMAP;
  SetWindowLongPtrW(window_, GWL_STYLE, style);
  if (icon) {
    HICON image = context_.images->Icon(name, width, height);
    SendMessageW(window_, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image));
  } else {
    // An unknown or empty name clears the picture.
    HBITMAP image = context_.images->Bitmap(name, width, height);
    SendMessageW(window_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
  }
  InvalidateRect(window_, nullptr, TRUE);
}

void Win32Picture::Changed(forms::Prop what) {
  if (what == forms::Prop::Picture) {
    ShowPicture();
  } else {
    Win32Control::Changed(what);
  }
}

}  // namespace pw::win32
