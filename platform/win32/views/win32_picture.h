#pragma once

#include "platform/forms/controls.h"
#include "platform/win32/views/win32_control.h"

namespace pw::winui {

// A STATIC showing an icon or a bitmap resource, stretched to the control when asked.
class Win32Picture : public Win32ControlOf<forms::Picture> {
 public:
  Win32Picture(forms::Picture& model, const ControlContext& context);

  void Changed(forms::Prop what) override;

 private:
  void ShowPicture() const;
};

}  // namespace pw::winui
