#pragma once

#include "platform/forms/controls.h"
#include "platform/win32/views/win32_colors.h"
#include "platform/win32/views/win32_control.h"

namespace pw::win32 {

inline constexpr const wchar_t* kPanelClassName = L"PagewardenPanel";

// A frame is a panel window in its background colour that holds its controls (their positions
// are relative to it); a frame with a border also draws a group box with its caption.
class Win32Frame : public Win32ControlOf<forms::Frame> {
 public:
  Win32Frame(forms::Frame& model, const ControlContext& context);

  bool Owns(HWND window) const override;
  HWND ChildParent() const override { return window_; }
  HBRUSH ChildBackground(COLORREF& color) const override;
  HBRUSH Color(HDC dc) override;
  void Arranged() override;
  void Rescale(const Dpi& dpi, HFONT font) override;

 private:
  ColorBrush background_;
  HWND groupBox_ = nullptr;
};

}  // namespace pw::win32
