#include "platform/forms/member.h"

#include "platform/forms/control.h"
#include "platform/forms/form.h"

namespace pw::forms {

Member::Member(Form& form, std::string name) : form_(form), name_(std::move(name)) {
  form.AddMember(this);
}

void Member::Touch() const {
  form_.Load();
}

void Member::Notify(Prop what) const {
  form_.Notify(dynamic_cast<const Control*>(this), what);
}

}  // namespace pw::forms
