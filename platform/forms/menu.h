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

  std::string Caption();
  bool Enabled();
  void SetEnabled(bool enabled);
  bool Checked();
  void SetChecked(bool checked);
  bool Visible();
  void SetVisible(bool visible);
  bool IsSeparator() const { return design.caption == "-"; }

  MenuItem* Parent() const { return parent_; }
  const std::vector<MenuItem*>& Items() const { return items_; }

  // The user chose it: nothing happens unless it and its window are enabled.
  void Press();

  void ResetToDesign() override { cur_ = design; }

 private:
  MenuState cur_;
  MenuItem* parent_;
  std::vector<MenuItem*> items_;
};

}  // namespace pw::forms
