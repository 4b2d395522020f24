#include "platform/win32/views/win32_check_box.h"

#include "platform/forms/controls.h"

namespace pw::winui {

Win32CheckBox::Win32CheckBox(forms::CheckBox& model, const ControlContext& context)
    : Win32Control(model, context), check_(model) {
  Create("BUTTON", model.Caption(), BS_CHECKBOX | BS_NOTIFY, 0);
  ShowValue();
}

void Win32CheckBox::ShowValue() const {
  SendMessageA(window_, BM_SETCHECK, check_.Value() == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32CheckBox::Changed(forms::Prop what) {
  if (what == forms::Prop::Value) {
    ShowValue();
  } else {
    Win32Control::Changed(what);
  }
}

void Win32CheckBox::Command(int code) {
  forms::CheckBox& check = check_;
  switch (code) {
    case BN_CLICKED:
    case BN_DOUBLECLICKED:
      check.Press();
      break;
    case BN_SETFOCUS:
      Focused();
      break;
    default:
      break;
  }
}

}  // namespace pw::winui
