#pragma once

#include "platform/win32/views/win32_control.h"

namespace pw::forms {
class ListBox;
}

namespace pw::winui {

// A LISTBOX showing the model's entries in the model's order (the model sorts).
class Win32ListBox : public Win32Control {
 public:
  Win32ListBox(forms::ListBox& model, const ControlContext& context);

  void Changed(forms::Prop what) override;
  void Command(int code) override;
  void Posted(int code, LPARAM value) override;

 private:
  void ShowEntries() const;
  void InsertEntry(int index) const;
  void ShowCurrent() const;

  forms::ListBox& list_;
};

}  // namespace pw::winui
