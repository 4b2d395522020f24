#include "platform/forms/list_box.h"

#include <algorithm>

#include "base/text.h"
#include "platform/forms/form.h"
#include "platform/forms/toolkit.h"

namespace pw::forms {

ListBox::ListBox(Form& form, std::string name, Bounds bounds, int tabIndex)
    : ControlOf(form, std::move(name), ListBoxState{}) {
  design.bounds = bounds;
  design.tabIndex = tabIndex;
  ResetToDesign();
}

int ListBox::Insert(ListEntry entry) {
  auto& entries = Cur().entries;
  auto at = entries.end();
  if (Cur().sorted) {
    // Case-insensitive order, as the platform's sorted list box keeps it; equal entries stay in
    // the order they were added.
    const std::string key = LowerAscii(entry.text);
    at = std::upper_bound(
        entries.begin(), entries.end(), key,
        [](const std::string& k, const ListEntry& e) { return k < LowerAscii(e.text); });
  }
  const int index = static_cast<int>(at - entries.begin());
  entries.insert(at, std::move(entry));
  if (Cur().listIndex >= index) ++Cur().listIndex;
  return index;
}

int ListBox::AddItem(std::string text) {
  const int index = Insert(ListEntry{std::move(text), false});
  changed_ = index;
  Notify(Prop::ItemAdded);
  return index;
}

void ListBox::AddItems(std::vector<ListEntry> entries) {
  if (entries.empty()) return;
  Cur().entries.reserve(Cur().entries.size() + entries.size());
  for (ListEntry& entry : entries) Insert(std::move(entry));
  changed_ = -1;
  Notify(Prop::Items);
}

bool ListBox::RemoveItem(int index) {
  if (!IsValidIndex(index)) return false;
  auto& s = Cur();
  s.entries.erase(s.entries.begin() + index);
  if (s.listIndex == index) {
    s.listIndex = -1;
  } else if (s.listIndex > index) {
    --s.listIndex;
  }
  changed_ = index;
  Notify(Prop::ItemRemoved);
  return true;
}

void ListBox::Clear() {
  if (Cur().entries.empty() && Cur().listIndex == -1) return;
  Cur().entries.clear();
  Cur().listIndex = -1;
  changed_ = -1;
  Notify(Prop::Items);
}

int ListBox::ListCount() {
  return static_cast<int>(Cur().entries.size());
}

std::string ListBox::List(int index) {
  return IsValidIndex(index) ? Cur().entries[static_cast<std::size_t>(index)].text : std::string();
}

bool ListBox::IsValidIndex(int index) {
  return index >= 0 && index < ListCount();
}

int ListBox::ListIndex() {
  return Cur().listIndex;
}

void ListBox::SetListIndex(int index) {
  if (index != -1 && !IsValidIndex(index)) return;
  Cur().listIndex = index;
  Notify(Prop::ListIndex);
  if (onClick) onClick();
}

bool ListBox::Selected(int index) {
  return IsValidIndex(index) && Cur().entries[static_cast<std::size_t>(index)].checked;
}

bool ListBox::SetSelected(int index, bool checked) {
  if (!IsValidIndex(index)) return false;
  auto& entry = Cur().entries[static_cast<std::size_t>(index)];
  if (entry.checked != checked) {
    entry.checked = checked;
    changed_ = index;
    Notify(Prop::Value);
  }
  return true;
}

bool ListBox::Usable() {
  return Visible() && Enabled() && Owner().Enabled();
}

void ListBox::ClickEntry(int index) {
  if (!Usable() || !IsValidIndex(index)) return;
  Owner().Tk().Raise([this, index] { SetListIndex(index); });
}

void ListBox::ClickCheckBox(int index) {
  if (!Cur().checkBoxes || !Usable() || !IsValidIndex(index)) return;
  Owner().Tk().Raise([this, index] { ToggleAndClick(index); });
}

void ListBox::PressSpace() {
  const int index = ListIndex();
  if (!Cur().checkBoxes || !Usable() || !IsValidIndex(index)) return;
  Owner().Tk().Raise([this, index] { ToggleAndClick(index); });
}

void ListBox::ToggleAndClick(int index) {
  SetSelected(index, !Selected(index));
  // Setting the current entry raises the one Click of this action.
  SetListIndex(index);
}

}  // namespace pw::forms
