#pragma once

#include "platform/forms/controls.h"
#include "platform/win32/views/win32_control.h"

namespace pw::winui {

// A push button; the default one carries the default frame, a picture sits above the caption.
class Win32Button : public Win32ControlOf<forms::CommandButton> {
 public:
  Win32Button(forms::CommandButton& model, const ControlContext& context);

  void Changed(forms::Prop what) override;
  void Command(int code) override;
  // The thick default frame: on the focused button, or on the default one when no button has
  // the focus, as in a dialog.
  void ShowDefaultFrame(bool shown) const;

 private:
  void ShowPicture();

  DWORD flags_ = BS_NOTIFY;
  UniqueImageList picture_;
};

}  // namespace pw::winui
