#pragma once

#include "platform/forms/controls.h"
#include "platform/win32/views/win32_control.h"

namespace pw::winui {

// A single-line EDIT. What the user types goes to the model as the new text and selection;
// what code sets comes back without echoing.
class Win32TextBox : public Win32ControlOf<forms::TextBox> {
 public:
  Win32TextBox(forms::TextBox& model, const ControlContext& context);

  void Changed(forms::Prop what) override;
  void Command(int code) override;
  // An entry keeps the system's own colours, whatever it sits on.
  HBRUSH Color(HDC dc) override {
    (void)dc;
    return nullptr;
  }

 private:
  void ShowSelection() const;
  void UserChanged();

  bool updating_ = false;
};

}  // namespace pw::winui
