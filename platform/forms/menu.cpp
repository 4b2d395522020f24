#include "platform/forms/menu.h"

#include "platform/forms/form.h"
#include "platform/forms/toolkit.h"

namespace pw::forms {

MenuItem::MenuItem(Form& form, std::string name, std::string caption, MenuItem* parent)
    : Member(form, std::move(name)), parent_(parent) {
  design.caption = std::move(caption);
  cur_ = design;
  if (parent != nullptr) parent->items_.push_back(this);
}

std::string MenuItem::Caption() {
  Touch();
  return cur_.caption;
}

bool MenuItem::Enabled() {
  Touch();
  return cur_.enabled;
}

void MenuItem::SetEnabled(bool enabled) {
  Touch();
  if (cur_.enabled == enabled) return;
  cur_.enabled = enabled;
  Notify(Prop::Menu);
}

bool MenuItem::Checked() {
  Touch();
  return cur_.checked;
}

void MenuItem::SetChecked(bool checked) {
  Touch();
  if (cur_.checked == checked) return;
  cur_.checked = checked;
  Notify(Prop::Menu);
}

bool MenuItem::Visible() {
  Touch();
  return cur_.visible;
}

void MenuItem::SetVisible(bool visible) {
  Touch();
  if (cur_.visible == visible) return;
  cur_.visible = visible;
  Notify(Prop::Menu);
}

void MenuItem::Press() {
  // A disabled window takes no input, its menu bar included.
  if (!Enabled() || IsSeparator() || !onClick || !Owner().Enabled()) return;
  Owner().Tk().Raise(onClick);
}

}  // namespace pw::forms
