#include "platform/win32/views/win32_list.h"

namespace pw::win32 {

void Win32List::Changed(forms::Prop what) {
  switch (what) {
    case forms::Prop::Items:
      ShowEntries();
      break;
    case forms::Prop::ItemAdded:
      InsertEntry(model_.ChangedEntry());
      ShowCurrent();
      break;
    case forms::Prop::ItemRemoved:
      RemoveEntry(model_.ChangedEntry());
      ShowCurrent();
      break;
    case forms::Prop::ListIndex:
      ShowCurrent();
      break;
    default:
      Win32Control::Changed(what);
      break;
  }
}

}  // namespace pw::win32
