#pragma once

#include "platform/win32/views/win32_list.h"

namespace pw::win32 {

// A list with a check box on every entry: a one-column report list view. The model owns the
// check marks and the current entry; clicks are handed to it and it sets what is shown. Every
// change touches only the entries it concerns, so long lists stay quick.
class Win32CheckList : public Win32List {
 public:
  Win32CheckList(forms::ListBox& model, const ControlContext& context);

  void Changed(forms::Prop what) override;
  LRESULT Notify(const NMHDR& header) override;
  void Posted(int code, LPARAM value) override;

 private:
  void ClearEntries(int count) override;
  void InsertEntry(int index) override;
  void RemoveEntry(int index) override;
  void ShowCurrent() override;
  void ShowCheck(int index);
  void SetState(int index, UINT state, UINT mask);

  bool updating_ = false;
  // The entry the list view shows selected, followed through its notifications.
  int selected_ = -1;
  // The list view toggles the focused entry on Space itself; the model decides instead.
  bool spaceDown_ = false;
};

}  // namespace pw::win32
