#pragma once

#include <string>

#include "platform/forms/member.h"

namespace pw::forms {

// Position and size in twips, relative to the container.
struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct ControlState {
  Bounds bounds;
  bool visible = true;
  bool enabled = true;
  int tabIndex = -1;
};

class Control : public Member {
 public:
  using Member::Member;

  // Set by the form's constructor; never changes afterwards. Null: the form itself.
  Control* container = nullptr;

  bool Visible() { return Current().visible; }
  void SetVisible(bool visible) { Change(Current().visible, visible, Prop::Visible); }
  bool Enabled() { return Current().enabled; }
  void SetEnabled(bool enabled) { Change(Current().enabled, enabled, Prop::Enabled); }
  Bounds Position() { return Current().bounds; }
  void SetTop(int top) { Change(Current().bounds.top, top, Prop::Position); }
  int TabIndex() { return Current().tabIndex; }

  void SetFocus();
  bool HasFocus();
  // Whether the user can tab to it.
  virtual bool TakesFocus() const { return false; }

 protected:
  virtual ControlState& Common() = 0;

 private:
  // What every control has, its form loaded first.
  ControlState& Current() {
    Touch();
    return Common();
  }
};

// A control kind with its own state; `design` is what every load restores.
template <class State>
class ControlOf : public Control {
 public:
  ControlOf(Form& form, std::string name, State designState)
      : Control(form, std::move(name)), design(std::move(designState)), cur_(design) {}

  State design;

  void ResetToDesign() override { cur_ = design; }

 protected:
  ControlState& Common() override { return cur_; }
  State& Cur() {
    Touch();
    return cur_;
  }

 private:
  State cur_;
};

}  // namespace pw::forms
