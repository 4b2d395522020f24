#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/forms/member.h"

namespace pw::forms {

struct MenuState {
  std::string caption;  // "-" is a separator
  bool enabled = true;
  bool checked = false;
  bool visible = true;
};

// A menu or one of its items. Top-level menus of a form make its menu bar when visible; hidden
// ones serve as popup menus.
class MenuItem : public Member {
 public:
  MenuItem(Form& form, std::string name, std::string caption, MenuItem* parent = nullptr);

  std::function<void()> onClick;
  MenuState design;

  std::string Caption() { return Cur().caption; }
  bool Enabled() { return Cur().enabled; }
  void SetEnabled(bool enabled) { Change(Cur().enabled, enabled, Prop::Menu); }
  bool Checked() { return Cur().checked; }
  void SetChecked(bool checked) { Change(Cur().checked, checked, Prop::Menu); }
  bool Visible() { return Cur().visible; }
  void SetVisible(bool visible) { Change(Cur().visible, visible, Prop::Menu); }
  bool IsSeparator() const { return design.caption == "-"; }

  MenuItem* Parent() const { return parent_; }
  const std::vector<MenuItem*>& Items() const { return items_; }

  // The user chose it: nothing happens unless it and its window are enabled.
  void Press();

  void ResetToDesign() override { cur_ = design; }

 private:
  // The current state, its form loaded first.
  MenuState& Cur() {
    Touch();
    return cur_;
  }

  MenuState cur_;
  MenuItem* parent_;
  std::vector<MenuItem*> items_;
};

}  // namespace pw::forms
