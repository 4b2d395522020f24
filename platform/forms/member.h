#pragma once

#include <string>
#include <utility>

#include "platform/forms/view.h"

namespace pw::forms {

class Form;

// Anything a form restores to its design state at every load: controls, timers, menu items.
class Member {
 public:
  Member(Form& form, std::string name);
  virtual ~Member() = default;
  Member(const Member&) = delete;
  Member& operator=(const Member&) = delete;

  Form& Owner() const { return form_; }
  const std::string& Name() const { return name_; }

  virtual void ResetToDesign() = 0;

 protected:
  // Referring to a member loads its form, as referring to the form itself does.
  void Touch() const;
  void Notify(Prop what) const;
  // Stores a property's new value and tells the view; returns false, telling nothing, when the
  // value is the one it already has.
  template <class T, class V>
  bool Change(T& property, V&& value, Prop what) {
    if (property == value) return false;
    property = std::forward<V>(value);
    Notify(what);
    return true;
  }

 private:
  Form& form_;
  std::string name_;
};

}  // namespace pw::forms
