#include "platform/win32/views/win32_table.h"

#include "platform/win32/backend/win32_text.h"

namespace pw::win32 {

Win32Table::Win32Table(forms::ListView& model, const ControlContext& context)
    : Win32ControlOf(model, context) {
  Create(WC_LISTVIEWW, "", LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
         WS_EX_CLIENTEDGE);
  const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
  SendMessageW(window_, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  int index = 0;
  for (const forms::ListViewColumn& c : model.Columns()) {
    std::wstring title = win32::Wide(c.title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = context.dpi.X(c.width);
    column.pszText = title.data();
    if (SendMessageW(window_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++),
                     reinterpret_cast<LPARAM>(&column)) < 0) {
      ThrowLastError("Adding a column of " + model.Name());
    }
  }
  Changed(forms::Prop::Items);
}

void Win32Table::Changed(forms::Prop what) {
  if (what != forms::Prop::Items) {
    Win32Control::Changed(what);
    return;
  }
  SendMessageW(window_, LVM_SETITEMCOUNT, static_cast<WPARAM>(model_.RowCount()), 0);
  InvalidateRect(window_, nullptr, TRUE);
}

LRESULT Win32Table::Notify(const NMHDR& header) {
  if (header.code != LVN_GETDISPINFOW) return 0;
  // The header is the first member of the list view's request, which the system hands over.
  auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
  if ((info.item.mask & LVIF_TEXT) == 0 || info.item.pszText == nullptr ||
      info.item.cchTextMax <= 0) {
    return 0;
  }
  cell_ = win32::Wide(model_.Cell(info.item.iItem, info.item.iSubItem));
  // Line breaks in a title would show as boxes: a cell shows them as spaces.
  for (wchar_t& c : cell_) {
    if (c == L'\r' || c == L'\n' || c == L'\t') c = L' ';
  }
  lstrcpynW(info.item.pszText, cell_.c_str(), info.item.cchTextMax);
  return 0;
}

}  // namespace pw::win32
