#include "platform/forms/list_box.h"

#include <algorithm>

#include "app/text.h"
#include "platform/forms/form.h"
#include "platform/forms/toolkit.h"

namespace pw::forms {

ListBox::ListBox(Form& form, std::string name, Bounds bounds, int tabIndex)
    : ControlOf(form, std::move(name), ListBoxState{}) {
  design.bounds = bounds;
  design.tabIndex = tabIndex;
  ResetToDesign();
}

int ListBox::AddItem(std::string text) {
  auto& entries = Cur().entries;
  auto at = entries.end();
  if (Cur().sorted) {
    // Case-insensitive order, as the platform's sorted list box keeps it; equal entries stay in
    // the order they were added.
    const std::string key = LowerAnsi(text);
    at = std::upper_bound(
        entries.begin(), entries.end(), key,
        [](const std::string& k, const ListEntry& e) { return k < LowerAnsi(e.text); });
  }
  const int index = static_cast<int>(at - entries.begin());
  entries.insert(at, ListEntry{std::move(text), false});
  if (Cur().listIndex >= index) ++Cur().listIndex;
  Notify(Prop::Items);
  return index;
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
  Notify(Prop::Items);
  return true;
}

void ListBox::Clear() {
  Cur().entries.clear();
  Cur().listIndex = -1;
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
    Notify(Prop::Value);
  }
  return true;
}

void ListBox::ToggleCheck(int index) {
  if (!Visible() || !Enabled() || !Owner().Enabled() || !IsValidIndex(index)) return;
  Owner().Tk().Raise([this, index] { SetSelected(index, !Selected(index)); });
}

}  // namespace pw::forms
