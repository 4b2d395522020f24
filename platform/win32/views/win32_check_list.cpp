#include "platform/win32/views/win32_check_list.h"

#include "platform/forms/list_box.h"
#include "platform/win32/backend/win32_text.h"

namespace pw::win32 {

namespace {

constexpr int kToggle = 1;
constexpr int kSelectionChanged = 2;
constexpr int kClicked = 3;
constexpr int kSpace = 4;

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

// Sets a flag for the length of a scope and restores what it was.
class Updating {
 public:
  explicit Updating(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~Updating() { flag_ = was_; }
  Updating(const Updating&) = delete;
  Updating& operator=(const Updating&) = delete;

 private:
  bool& flag_;
  bool was_;
};

}  // namespace

Win32CheckList::Win32CheckList(forms::ListBox& model, const ControlContext& context)
    : Win32List(model, context, {LVM_DELETEALLITEMS, LVM_SETITEMCOUNT, LVM_DELETEITEM}) {
  Create(WC_LISTVIEWW, "",
         LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
         WS_EX_CLIENTEDGE);
  const DWORD extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
  SendMessageW(window_, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  RECT client{};
  GetClientRect(window_, &client);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
  if (SendMessageW(window_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)) < 0) {
    ThrowLastError("Adding the column of " + model.Name());
  }
  ShowEntries();
}

void Win32CheckList::SetState(int index, UINT state, UINT mask) {
  Updating updating(updating_);
  LVITEMW item{};
  item.stateMask = mask;
  item.state = state;
  SendMessageW(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
}

void Win32CheckList::ClearEntries(int count) {
  Updating updating(updating_);
  Win32List::ClearEntries(count);
  selected_ = -1;
}

void Win32CheckList::InsertEntry(int index) {
  Updating updating(updating_);
  std::wstring text = win32::Wide(model_.List(index));
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = text.data();
  SendMessageW(window_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  if (selected_ >= index) ++selected_;
  ShowCheck(index);
}

void Win32CheckList::RemoveEntry(int index) {
  Updating updating(updating_);
  Win32List::RemoveEntry(index);
  if (selected_ == index) {
    selected_ = -1;
  } else if (selected_ > index) {
    --selected_;
  }
}

void Win32CheckList::ShowCheck(int index) {
  SetState(index, CheckState(model_.Selected(index)), LVIS_STATEIMAGEMASK);
}

void Win32CheckList::ShowCurrent() {
  const int current = model_.ListIndex();
  if (selected_ >= 0 && selected_ != current) SetState(selected_, 0, LVIS_SELECTED);
  selected_ = current;
  if (current < 0) return;
  SetState(current, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SendMessageW(window_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(current), FALSE);
}

void Win32CheckList::Changed(forms::Prop what) {
  if (what == forms::Prop::Value) {
    ShowCheck(model_.ChangedEntry());
  } else {
    Win32List::Changed(what);
  }
}

LRESULT Win32CheckList::Notify(const NMHDR& header) {
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  if (header.code == LVN_ITEMCHANGED && SelectionChanged(change)) {
    if ((change.uNewState & LVIS_SELECTED) != 0) {
      selected_ = change.iItem;
    } else if (selected_ == change.iItem) {
      selected_ = -1;
    }
  }
  if (header.code == NM_SETFOCUS) {
    Focused();
    return 0;
  }
  if (updating_) return 0;
  switch (header.code) {
    case LVN_KEYDOWN:
      if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_SPACE) {
        spaceDown_ = true;
        Post(kSpace, 0);
      }
      return 0;
    case LVN_ITEMCHANGING:
      if (!StateImageChanged(change)) return FALSE;
      // A state image of 0 is the list view setting up a new entry.
      if ((change.uOldState & LVIS_STATEIMAGEMASK) == 0) return FALSE;
      // The user clicked a check box or pressed Space. The model decides: refuse the list view's
      // own toggle and hand the click over once the list view is done with it.
      if (!spaceDown_ && change.iItem >= 0) Post(kToggle, change.iItem);
      return TRUE;
    case LVN_ITEMCHANGED:
      // A press of the mouse is handed over by the click that ends it; this is the keyboard.
      if (SelectionChanged(change)) Post(kSelectionChanged, GetKeyState(VK_LBUTTON) < 0 ? 1 : 0);
      return 0;
    case NM_CLICK: {
      LVHITTESTINFO hit{};
      hit.pt = reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction;
      SendMessageW(window_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      // A click on the check box itself came as a toggle.
      if (hit.iItem >= 0 && (hit.flags & LVHT_ONITEMSTATEICON) == 0) Post(kClicked, hit.iItem);
      return 0;
    }
    case LVN_BEGINDRAG:
      // The press became a drag and ends without a click; it still chose the entry.
      Post(kClicked, change.iItem);
      return 0;
    default:
      return 0;
  }
}

void Win32CheckList::Posted(int code, LPARAM value) {
  forms::ListBox& model = model_;
  const auto index = static_cast<int>(value);
  switch (code) {
    case kToggle:
      model.ClickCheckBox(index);
      return;
    case kSpace:
      spaceDown_ = false;
      model.PressSpace();
      return;
    case kClicked:
      model.ClickEntry(index);
      return;
    case kSelectionChanged:
      if (selected_ < 0) {
        // A click beside the entries cleared the highlight; the current entry stays.
        if (model.ListIndex() >= 0) ShowCurrent();
      } else if (value == 0 && selected_ != model.ListIndex()) {
        model.SetListIndex(selected_);
      }
      return;
    default:
      return;
  }
}

}  // namespace pw::win32
