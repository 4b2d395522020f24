#include "platform/win32/views/win32_controls.h"

#include "platform/forms/controls.h"

namespace pw::win32 {

Win32CheckBox::Win32CheckBox(forms::CheckBox& model, const ControlContext& context)
    : Win32ControlOf(model, context) {
  Create(L"BUTTON", model.Caption(), BS_CHECKBOX | BS_NOTIFY, 0);
  ShowValue();
}

void Win32CheckBox::ShowValue() const {
  SendMessageW(window_, BM_SETCHECK, model_.Value() == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32CheckBox::Changed(forms::Prop what) {
  if (what == forms::Prop::Value) {
    ShowValue();
  } else {
    Win32Control::Changed(what);
  }
}

void Win32CheckBox::Command(int code) {
  ButtonCommand(code);
}

}  // namespace pw::win32
