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

  // The user clicked an entry's check box.
  void ToggleCheck(int index);
  bool TakesFocus() const override { return true; }
};

}  // namespace pw::forms
