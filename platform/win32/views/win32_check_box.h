#pragma once

#include "platform/forms/controls.h"
#include "platform/win32/views/win32_control.h"

namespace pw::winui {

// A check box whose value the model owns: a click asks the model, which sets the mark.
class Win32CheckBox : public Win32ControlOf<forms::CheckBox> {
 public:
  Win32CheckBox(forms::CheckBox& model, const ControlContext& context);

  void Changed(forms::Prop what) override;
  void Command(int code) override;

 private:
  void ShowValue() const;
};

}  // namespace pw::winui
