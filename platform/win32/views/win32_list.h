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
  // The messages by which a kind of list empties itself, makes room for a number of entries and
  // deletes the one at an index; both kinds take the same parameters.
  struct Messages {
    UINT clear;
    UINT reserve;
    UINT remove;
  };

  Win32List(forms::ListBox& model, const ControlContext& context, Messages messages)
      : Win32ControlOf(model, context), messages_(messages) {}

  // All the model's entries afresh, as a load brings them.
  void ShowEntries();

  // Empties the native list and makes room for `count` entries.
  virtual void ClearEntries(int count);
  virtual void InsertEntry(int index) = 0;
  virtual void RemoveEntry(int index);
  virtual void ShowCurrent() = 0;

 private:
  Messages messages_;
};

}  // namespace pw::win32
