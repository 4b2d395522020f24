#include "platform/win32/win32_check_list.h"

#include "platform/forms/list_box.h"

namespace pw::winui {

namespace {

constexpr int kToggle = 1;
constexpr int kSelectionChanged = 2;

UINT CheckState(bool checked) {
  return INDEXTOSTATEIMAGEMASK(checked ? 2u : 1u);
}

bool StateImageChanged(const NMLISTVIEW& change) {
  return (change.uChanged & LVIF_STATE) != 0 &&
         ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) != 0;
}

bool SelectionChanged(const NMLISTVIEW& change) {
  return (change.uChanged & LVIF_STATE) != 0 &&
         ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) != 0;
}

}  // namespace

Win32CheckList::Win32CheckList(forms::ListBox& model, const ControlContext& context)
    : Win32Control(model, context), list_(model) {
  Create(WC_LISTVIEWA, "",
         LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
         WS_EX_CLIENTEDGE);
  const DWORD extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
  SendMessageA(window_, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  RECT client{};
  GetClientRect(window_, &client);
  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH;
  column.cx = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
  if (SendMessageA(window_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column)) < 0) {
    ThrowLastError("Adding the column of " + model.Name());
  }
  ShowEntries();
}

void Win32CheckList::SetState(int index, UINT state, UINT mask) const {
  LVITEMA item{};
  item.stateMask = mask;
  item.state = state;
  SendMessageA(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
}

void Win32CheckList::ShowEntries() {
  updating_ = true;
  SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(window_, LVM_DELETEALLITEMS, 0, 0);
  const int count = list_.ListCount();
  for (int i = 0; i < count; ++i) {
    std::string text = list_.List(i);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = text.data();
    SendMessageA(window_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  updating_ = false;
  ShowChecks();
  ShowCurrent();
  SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(window_, nullptr, TRUE);
}

void Win32CheckList::ShowChecks() {
  updating_ = true;
  const int count = list_.ListCount();
  for (int i = 0; i < count; ++i) SetState(i, CheckState(list_.Selected(i)), LVIS_STATEIMAGEMASK);
  updating_ = false;
}

void Win32CheckList::ShowCurrent() {
  updating_ = true;
  const int current = list_.ListIndex();
  SetState(-1, 0, LVIS_SELECTED);
  if (current >= 0) {
    SetState(current, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(window_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(current), FALSE);
  }
  updating_ = false;
}

void Win32CheckList::Changed(forms::Prop what) {
  switch (what) {
    case forms::Prop::Items:
      ShowEntries();
      break;
    case forms::Prop::Value:
      ShowChecks();
      break;
    case forms::Prop::ListIndex:
      ShowCurrent();
      break;
    default:
      Win32Control::Changed(what);
      break;
  }
}

LRESULT Win32CheckList::Notify(const NMHDR& header) {
  if (header.code == NM_SETFOCUS) {
    Focused();
    return 0;
  }
  if (updating_) return 0;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  if (header.code == LVN_ITEMCHANGING && StateImageChanged(change)) {
    // The user clicked a check box. The model decides; refuse the list view's own toggle and
    // hand the click over once the list view is done with it. A state image of 0 is the list
    // view setting up a new entry.
    if ((change.uOldState & LVIS_STATEIMAGEMASK) == 0) return FALSE;
    if (change.iItem >= 0) Post(kToggle, change.iItem);
    return TRUE;
  }
  if (header.code == LVN_ITEMCHANGED && SelectionChanged(change)) Post(kSelectionChanged, 0);
  return 0;
}

void Win32CheckList::Posted(int code, LPARAM value) {
  forms::ListBox& model = list_;
  if (code == kToggle) {
    model.ToggleCheck(static_cast<int>(value));
    return;
  }
  if (code != kSelectionChanged) return;
  const auto current = static_cast<int>(SendMessageA(
      window_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
  if (current >= 0) {
    if (current != model.ListIndex()) model.SetListIndex(current);
  } else if (model.ListIndex() >= 0) {
    // A click beside the entries cleared the highlight; the current entry stays.
    ShowCurrent();
  }
}

}  // namespace pw::winui
