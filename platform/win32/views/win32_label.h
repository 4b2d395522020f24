#pragma once

#include "platform/forms/controls.h"
#include "platform/win32/views/win32_control.h"

namespace pw::winui {

// A STATIC text in the label's colour; a transparent label shows its container's background.
class Win32Label : public Win32ControlOf<forms::Label> {
 public:
  Win32Label(forms::Label& model, const ControlContext& context);

  void Changed(forms::Prop what) override;
  HBRUSH Color(HDC dc) override;
};

}  // namespace pw::winui
