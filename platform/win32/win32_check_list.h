#pragma once

#include "platform/win32/win32_control.h"

namespace pw::forms {
class ListBox;
}

namespace pw::winui {

// A list with a check box on every entry: a one-column report list view. The model owns the
// check marks and the current entry; clicks are handed to it and it sets what is shown.
class Win32CheckList : public Win32Control {
 public:
  Win32CheckList(forms::ListBox& model, const ControlContext& context);

  void Changed(forms::Prop what) override;
  LRESULT Notify(const NMHDR& header) override;
  void Posted(int code, LPARAM value) override;

 private:
  void ShowEntries();
  void ShowChecks();
  void ShowCurrent();
  void SetState(int index, UINT state, UINT mask) const;

  forms::ListBox& list_;
  bool updating_ = false;
};

}  // namespace pw::winui
