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

void MenuItem::Press() {
  // A disabled window takes no input, its menu bar included.
  if (!Enabled() || IsSeparator() || !onClick || !Owner().Enabled()) return;
  Owner().Tk().Raise(onClick);
}

}  // namespace pw::forms
