#include "platform/win32/views/win32_menus.h"

#include <string>

#include "platform/forms/menu.h"
#include "platform/win32/backend/win32_text.h"

namespace pw::win32 {

namespace {

UINT StateFlags(forms::MenuItem& item) {
  UINT flags = MF_STRING;
  if (item.Checked()) flags |= MF_CHECKED;
  if (!item.Enabled()) flags |= MF_GRAYED;
  return flags;
}

}  // namespace

UniqueMenu MenuBuilder::Bar(const std::vector<forms::MenuItem*>& menus) {
  UniqueMenu bar(CreateMenu());
  if (!bar) return bar;
  bool any = false;
  for (forms::MenuItem* menu : menus) {
    if (!menu->Visible()) continue;
    if (!AddItem(bar.get(), *menu)) return UniqueMenu();
    any = true;
  }
  if (!any) bar.reset();
  return bar;
}

UniqueMenu MenuBuilder::Popup(forms::MenuItem& menu) {
  UniqueMenu popup(CreatePopupMenu());
  if (popup && !AddItems(popup.get(), menu)) popup.reset();
  return popup;
}

bool MenuBuilder::AddItems(HMENU menu, forms::MenuItem& parent) {
  for (forms::MenuItem* item : parent.Items()) {
    if (item->Visible() && !AddItem(menu, *item)) return false;
  }
  return true;
}

bool MenuBuilder::AddItem(HMENU menu, forms::MenuItem& item) {
  const bool submenu = !item.Items().empty();
  layout_.push_back({&item, submenu && item.Enabled()});
  if (item.IsSeparator()) return AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) != FALSE;
  const std::wstring caption = win32::Wide(item.Caption());
  if (submenu) {
    UniqueMenu sub(CreatePopupMenu());
    if (!sub || !AddItems(sub.get(), item)) return false;
    const auto handle = reinterpret_cast<UINT_PTR>(sub.get());
    if (AppendMenuW(menu, StateFlags(item) | MF_POPUP, handle, caption.c_str()) == FALSE) {
      return false;
    }
    sub.release();  // the parent menu owns it now
    return true;
  }
  items_.push_back(&item);
  const UINT id = firstId_ + static_cast<UINT>(items_.size() - 1);
  return AppendMenuW(menu, StateFlags(item), id, caption.c_str()) != FALSE;
}

forms::MenuItem* MenuBuilder::Find(UINT id) const {
  if (id < firstId_ || id - firstId_ >= items_.size()) return nullptr;
  return items_[id - firstId_];
}

UINT MenuBuilder::IdOf(const forms::MenuItem* item) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == item) return firstId_ + static_cast<UINT>(i);
  }
  return 0;
}

bool MenuBuilder::SameLayout(const MenuBuilder& other) const {
  return layout_ == other.layout_;
}

void MenuBuilder::ShowStates(HMENU menu) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    forms::MenuItem& item = *items_[i];
    const UINT id = firstId_ + static_cast<UINT>(i);
    CheckMenuItem(menu, id, MF_BYCOMMAND | (item.Checked() ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(menu, id, MF_BYCOMMAND | (item.Enabled() ? MF_ENABLED : MF_GRAYED));
  }
}

}  // namespace pw::win32
