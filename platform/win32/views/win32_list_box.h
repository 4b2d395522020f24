#pragma once

#include "platform/win32/views/win32_list.h"

namespace pw::win32 {

// A LISTBOX showing the model's entries in the model's order (the model sorts).
class Win32ListBox : public Win32List {
 public:
  Win32ListBox(forms::ListBox& model, const ControlContext& context);

  void Command(int code) override;
  void Posted(int code, LPARAM value) override;

 private:
  void InsertEntry(int index) override;
  void ShowCurrent() override;
};

}  // namespace pw::win32
