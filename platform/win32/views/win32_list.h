#pragma once

#include "platform/forms/list_box.h"
#include "platform/win32/views/win32_control.h"

namespace pw::win32 {

// A native list of a list box model. Both kinds follow the model's entries and its current entry
// the same way, each through its own window's messages.
class Win32List : public Win32ControlOf<forms::ListBox> {
 public:
  void Changed(forms::Prop what) override;

 protected:
  using Win32ControlOf::Win32ControlOf;

  virtual void ShowEntries() = 0;
  virtual void InsertEntry(int index) = 0;
  virtual void RemoveEntry(int index) = 0;
  virtual void ShowCurrent() = 0;
};

}  // namespace pw::win32
