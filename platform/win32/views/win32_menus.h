#pragma once

#include <vector>

#include "platform/win32/views/win32_ui_handles.h"

namespace pw::forms {
class MenuItem;
}

namespace pw::win32 {

// Builds native menus from the forms' menu items and maps command ids back to the items.
class MenuBuilder {
 public:
  explicit MenuBuilder(UINT firstId) : firstId_(firstId) {}

  // A menu bar of the given top-level menus; null when none is visible.
  UniqueMenu Bar(const std::vector<forms::MenuItem*>& menus);
  // A popup menu of one menu's visible items.
  UniqueMenu Popup(forms::MenuItem& menu);

  forms::MenuItem* Find(UINT id) const;
  // 0 when the item is not in the built menu.
  UINT IdOf(const forms::MenuItem* item) const;
  // Whether another build shows the same items in the same places, so that a menu built by
  // this one can take the other's check marks and enabled states in place.
  bool SameLayout(const MenuBuilder& other) const;
  // Applies the items' current check marks and enabled states to a menu built by this one.
  void ShowStates(HMENU menu) const;

 private:
  // Appends the visible items of parent to menu; false when the system refused.
  bool AddItems(HMENU menu, forms::MenuItem& parent);
  bool AddItem(HMENU menu, forms::MenuItem& item);

  struct Placed {
    const forms::MenuItem* item;
    bool enabled;  // for submenus, whose state is not set in place
    bool operator==(const Placed&) const = default;
  };

  UINT firstId_;
  std::vector<forms::MenuItem*> items_;  // the commands, by id
  std::vector<Placed> layout_;           // everything shown, in order
};

}  // namespace pw::win32
