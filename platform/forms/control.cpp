#include "platform/forms/control.h"

#include "platform/forms/form.h"

namespace pw::forms {

bool Control::Visible() {
  Touch();
  return Common().visible;
}

void Control::SetVisible(bool visible) {
  Touch();
  if (Common().visible == visible) return;
  Common().visible = visible;
  Notify(Prop::Visible);
}

bool Control::Enabled() {
  Touch();
  return Common().enabled;
}

void Control::SetEnabled(bool enabled) {
  Touch();
  if (Common().enabled == enabled) return;
  Common().enabled = enabled;
  Notify(Prop::Enabled);
}

Bounds Control::Position() {
  Touch();
  return Common().bounds;
}

void Control::SetTop(int top) {
  Touch();
  if (Common().bounds.top == top) return;
  Common().bounds.top = top;
  Notify(Prop::Position);
}

int Control::TabIndex() {
  Touch();
  return Common().tabIndex;
}

void Control::SetFocus() {
  Touch();
  Owner().SetActiveControl(this);
}

bool Control::HasFocus() {
  Touch();
  return Owner().ActiveControl() == this;
}

}  // namespace pw::forms
