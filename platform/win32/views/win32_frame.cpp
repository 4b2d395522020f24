#include "platform/win32/views/win32_frame.h"

#include <string>

#include "platform/forms/controls.h"
#include "platform/win32/backend/win32_text.h"

namespace pw::win32 {

Win32Frame::Win32Frame(forms::Frame& model, const ControlContext& context)
    : Win32ControlOf(model, context), background_(model.design.backColor) {
  // A group box covers the whole panel and paints only its edge and caption, so the panel must
  // paint the background beneath it.
  Create(kPanelClassName, "", model.design.border ? 0 : WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
  if (!model.design.border) return;
  RECT client{};
  GetClientRect(window_, &client);
  // A blank after the caption keeps a gap before the edge; Wine cuts the last letter without.
  const std::string caption = model.Caption() + " ";
  groupBox_ =
      CreateWindowExW(0, L"BUTTON", win32::Wide(caption).c_str(),
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, 0, client.right,
                      client.bottom, window_, nullptr, context.instance, nullptr);
  if (groupBox_ == nullptr) ThrowLastError("Creating the frame " + model.Name());
  SendMessageW(groupBox_, WM_SETFONT, reinterpret_cast<WPARAM>(context.font), FALSE);
}

bool Win32Frame::Owns(HWND window) const {
  return window == window_ || (window != nullptr && window == groupBox_);
}

HBRUSH Win32Frame::ChildBackground(COLORREF& color) const {
  color = background_.Color();
  return background_.Get();
}

HBRUSH Win32Frame::Color(HDC dc) {
  // Only the group box asks: its caption sits on the frame's own background.
  SetBkColor(dc, background_.Color());
  return background_.Get();
}

void Win32Frame::Rescale(const Dpi& dpi, HFONT font) {
  Win32Control::Rescale(dpi, font);
  if (groupBox_ == nullptr) return;
  RECT client{};
  GetClientRect(window_, &client);
  SendMessageW(groupBox_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowPos(groupBox_, nullptr, 0, 0, client.right, client.bottom,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void Win32Frame::Arranged() {
  // Under the frame's controls, or it would paint over them.
  if (groupBox_ != nullptr) {
    SetWindowPos(groupBox_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

}  // namespace pw::win32
