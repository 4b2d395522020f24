#include "platform/forms/control.h"

#include "platform/forms/form.h"

namespace pw::forms {

void Control::SetFocus() {
  Touch();
  Owner().SetActiveControl(this);
}

bool Control::HasFocus() {
  Touch();
  return Owner().ActiveControl() == this;
}

}  // namespace pw::forms
