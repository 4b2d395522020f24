#include "platform/win32/views/win32_control.h"

#include "platform/forms/control.h"
#include "platform/forms/form.h"
#include "platform/win32/backend/win32_text.h"

namespace pw::win32 {

HBRUSH Win32Control::ChildBackground(COLORREF& color) const {
  color = context_.backgroundColor;
  return context_.background;
}

void Win32Control::Create(const wchar_t* className, const std::string& text, DWORD style,
                          DWORD exStyle) {
  forms::Control& model = Model();
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (model.Visible()) style |= WS_VISIBLE;
  if (!model.Enabled()) style |= WS_DISABLED;
  if (model.TakesFocus() && model.TabIndex() >= 0) style |= WS_TABSTOP;
  const RECT r = PixelBounds();
  window_ = CreateWindowExW(exStyle, className, win32::Wide(text).c_str(), style, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, context_.parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(context_.id)),
                            context_.instance, context_.owner);
  if (window_ == nullptr) ThrowLastError("Creating the control " + model.Name());
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(context_.font), FALSE);
}

RECT Win32Control::PixelBounds() const {
  const forms::Bounds b = Model().Position();
  const Dpi& d = context_.dpi;
  return RECT{d.X(b.left), d.Y(b.top), d.X(b.left + b.width), d.Y(b.top + b.height)};
}

void Win32Control::Place() {
  const RECT r = PixelBounds();
  SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Control::Rescale(const Dpi& dpi, HFONT font) {
  context_.dpi = dpi;
  context_.font = font;
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  Place();
  InvalidateRect(window_, nullptr, TRUE);
}

void Win32Control::Changed(forms::Prop what) {
  switch (what) {
    case forms::Prop::Visible:
      ShowWindow(window_, Model().Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case forms::Prop::Enabled:
      EnableWindow(window_, Model().Enabled() ? TRUE : FALSE);
      break;
    case forms::Prop::Position:
      Place();
      break;
    case forms::Prop::Focus:
      // Focus on a hidden form would activate it; a form that is shown later focuses its
      // active control itself.
      if (IsWindowVisible(context_.form) && GetFocus() != window_) SetFocus(window_);
      break;
    default:
      break;
  }
}

HBRUSH Win32Control::Color(HDC dc) {
  SetBkColor(dc, context_.backgroundColor);
  return context_.background;
}

void Win32Control::Post(int code, LPARAM value) const {
  PostMessageW(context_.form, kControlMessage, MAKEWPARAM(context_.id, code), value);
}

void Win32Control::Focused() const {
  forms::Control& control = Model();
  forms::Form& form = control.Owner();
  if (form.ActiveControl() != &control) form.SetActiveControl(&control);
}

std::string Win32Control::WindowText() const {
  const int length = GetWindowTextLengthW(window_);
  if (length <= 0) return std::string();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window_, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return win32::Utf8(text);
}

void Win32Control::SetWindowTextIfChanged(const std::string& text) const {
  if (WindowText() != text) SetWindowTextW(window_, win32::Wide(text).c_str());
}

}  // namespace pw::win32
