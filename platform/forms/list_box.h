#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/forms/control.h"

namespace pw::forms {

struct ListEntry {
  std::string text;
  bool checked = false;
};

struct ListBoxState : ControlState {
  bool sorted = false;
  bool checkBoxes = false;  // a check box on every entry
  std::vector<ListEntry> entries;
  int listIndex = -1;
};

class ListBox : public ControlOf<ListBoxState> {
 public:
  ListBox(Form& form, std::string name, Bounds bounds, int tabIndex);

  std::function<void()> onClick;

  // Returns the position the entry landed at (its sorted place in a sorted list).
  int AddItem(std::string text);
  // Adds each entry as AddItem does, check state included, and tells the view once: loading a
  // long list stays in proportion to its length.
  void AddItems(std::vector<ListEntry> entries);
  // Out-of-range positions change nothing and return false.
  bool RemoveItem(int index);
  void Clear();
  int ListCount();
  // The text at a position; empty for a position that does not exist.
  std::string List(int index);
  bool IsValidIndex(int index);
  int ListIndex();
  // Raises Click, as a user's click on the entry does. -1 clears the current entry.
  void SetListIndex(int index);
  // The check state of an entry; false for a position that does not exist.
  bool Selected(int index);
  bool SetSelected(int index, bool checked);

  // The user clicked an entry: it becomes current and Click is raised, also when it was current.
  void ClickEntry(int index);
  // The user clicked an entry's check box: the check toggles, the entry becomes current and
  // Click is raised.
  void ClickCheckBox(int index);
  // The user pressed the space bar in the list: the current entry's check toggles and Click is
  // raised.
  void PressSpace();
  bool TakesFocus() const override { return true; }

  // For views: the entry the latest ItemAdded, ItemRemoved or Value notification is about.
  int ChangedEntry() const { return changed_; }

 private:
  int Insert(ListEntry entry);
  // Whether the user can act on the list now.
  bool Usable();
  void ToggleAndClick(int index);

  int changed_ = -1;
};

}  // namespace pw::forms
