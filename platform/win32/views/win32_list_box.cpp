#include "platform/win32/views/win32_list_box.h"

#include "platform/forms/list_box.h"
#include "platform/win32/backend/win32_text.h"

namespace pw::win32 {

namespace {

constexpr int kSelectionChanged = 1;

}  // namespace

Win32ListBox::Win32ListBox(forms::ListBox& model, const ControlContext& context)
    : Win32List(model, context, {LB_RESETCONTENT, LB_INITSTORAGE, LB_DELETESTRING}) {
  Create(L"LISTBOX", "", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | WS_VSCROLL,
         WS_EX_CLIENTEDGE);
  ShowEntries();
}

void Win32ListBox::InsertEntry(int index) {
  const std::wstring text = win32::Wide(model_.List(index));
  SendMessageW(window_, LB_INSERTSTRING, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32ListBox::ShowCurrent() {
  // LB_SETCURSEL sends no notification, so this never echoes back.
  SendMessageW(window_, LB_SETCURSEL, static_cast<WPARAM>(model_.ListIndex()), 0);
}

void Win32ListBox::Command(int code) {
  if (code == LBN_SELCHANGE) {
    // The Click handler runs after the list box has finished with the click.
    Post(kSelectionChanged, 0);
  } else if (code == LBN_SETFOCUS) {
    Focused();
  }
}

void Win32ListBox::Posted(int code, LPARAM value) {
  (void)value;
  if (code != kSelectionChanged) return;
  forms::ListBox& model = model_;
  const auto current = static_cast<int>(SendMessageW(window_, LB_GETCURSEL, 0, 0));
  if (current >= 0 && current != model.ListIndex()) model.SetListIndex(current);
}

}  // namespace pw::win32
