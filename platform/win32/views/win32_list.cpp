#include "platform/win32/views/win32_list.h"

namespace pw::win32 {

void Win32List::ShowEntries() {
  // One repaint and one allocation for the whole list.
  SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  const int count = model_.ListCount();
  ClearEntries(count);
  for (int i = 0; i < count; ++i) InsertEntry(i);
  ShowCurrent();
  SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(window_, nullptr, TRUE);
}

void Win32List::ClearEntries(int count) {
  SendMessageW(window_, messages_.clear, 0, 0);
  SendMessageW(window_, messages_.reserve, static_cast<WPARAM>(count), 0);
}

void Win32List::RemoveEntry(int index) {
  SendMessageW(window_, messages_.remove, static_cast<WPARAM>(index), 0);
}

void Win32List::Changed(forms::Prop what) {
  switch (what) {
    case forms::Prop::Items:
      ShowEntries();
      return;
    case forms::Prop::ItemAdded:
      InsertEntry(model_.ChangedEntry());
      break;
    case forms::Prop::ItemRemoved:
      RemoveEntry(model_.ChangedEntry());
      break;
    case forms::Prop::ListIndex:
      break;
    default:
      Win32Control::Changed(what);
      return;
  }
  // An entry added or removed before the current one moves it.
  ShowCurrent();
}

}  // namespace pw::win32
