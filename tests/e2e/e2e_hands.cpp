#include "tests/e2e/e2e_hands.h"

#include <commctrl.h>

#include <vector>

#include "platform/win32/backend/win32_text.h"

namespace pw::e2e {

namespace {

constexpr SIZE_T kRemoteBlock = 4096;

void Send(std::vector<INPUT>& inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  // Let the target take the input before the next step looks at the result.
  Sleep(60);
}

INPUT Key(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

INPUT Mouse(DWORD flags, POINT at) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Absolute coordinates run from 0 to 65535 across the primary screen.
  const int width = GetSystemMetrics(SM_CXSCREEN) - 1;
  const int height = GetSystemMetrics(SM_CYSCREEN) - 1;
  input.mi.dx = static_cast<LONG>((at.x * 65535 + width / 2) / width);
  input.mi.dy = static_cast<LONG>((at.y * 65535 + height / 2) / height);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return input;
}

}  // namespace

void ClickAt(POINT screen) {
  std::vector<INPUT> inputs = {Mouse(MOUSEEVENTF_MOVE, screen), Mouse(MOUSEEVENTF_LEFTDOWN, screen),
                               Mouse(MOUSEEVENTF_LEFTUP, screen)};
  Send(inputs);
}

void ClickWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void PressKey(WORD key) {
  std::vector<INPUT> inputs = {Key(key, false), Key(key, true)};
  Send(inputs);
}

void PressWith(WORD modifier, WORD key) {
  std::vector<INPUT> inputs = {Key(modifier, false), Key(key, false), Key(key, true),
                               Key(modifier, true)};
  Send(inputs);
}

void TypeKeys(const std::string& text) {
  std::vector<INPUT> inputs;
  for (char c : text) {
    const SHORT scan = VkKeyScanA(c);
    const auto key = static_cast<WORD>(LOBYTE(scan));
    const bool shift = (HIBYTE(scan) & 1) != 0;
    if (shift) inputs.push_back(Key(VK_SHIFT, false));
    inputs.push_back(Key(key, false));
    inputs.push_back(Key(key, true));
    if (shift) inputs.push_back(Key(VK_SHIFT, true));
  }
  Send(inputs);
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

RemoteListView::RemoteListView(HWND list) : list_(list) {
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process_ == nullptr) return;
  remote_ =
      VirtualAllocEx(process_, nullptr, kRemoteBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteListView::~RemoteListView() {
  if (remote_ != nullptr) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
  if (process_ != nullptr) CloseHandle(process_);
}

LRESULT RemoteListView::SendWithBlock(UINT message, WPARAM wParam, void* block, SIZE_T size) const {
  if (remote_ == nullptr || size > kRemoteBlock) return -1;
  WriteProcessMemory(process_, remote_, block, size, nullptr);
  DWORD_PTR result = 0;
  SendMessageTimeoutA(list_, message, wParam, reinterpret_cast<LPARAM>(remote_), SMTO_NORMAL, 10000,
                      &result);
  ReadProcessMemory(process_, remote_, block, size, nullptr);
  return static_cast<LRESULT>(result);
}

int RemoteListView::Count() const {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(list_, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 10000, &result);
  return static_cast<int>(result);
}

std::string RemoteListView::Text(int index, int column) const {
  // The item record and its text buffer share the lent block; the record points into it.
  struct Block {
    LVITEMW item;
    wchar_t text[1024];
  } block{};
  block.item.iSubItem = column;
  block.item.cchTextMax = 1024;
  block.item.pszText =
      reinterpret_cast<wchar_t*>(static_cast<char*>(remote_) + offsetof(Block, text));
  const LRESULT length =
      SendWithBlock(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), &block, sizeof block);
  if (length <= 0) return std::string();
  return win32::Utf8(std::wstring_view(block.text, static_cast<std::size_t>(length)));
}

bool RemoteListView::Checked(int index) const {
  DWORD_PTR state = 0;
  SendMessageTimeoutA(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK,
                      SMTO_NORMAL, 10000, &state);
  return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

int RemoteListView::Selected() const {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0),
                      SMTO_NORMAL, 10000, &result);
  return static_cast<int>(static_cast<LRESULT>(result));
}

RECT RemoteListView::ItemRect(int index, int part) const {
  RECT rect{};
  rect.left = part;
  SendWithBlock(LVM_GETITEMRECT, static_cast<WPARAM>(index), &rect, sizeof rect);
  return rect;
}

POINT RemoteListView::CheckBoxPoint(int index) const {
  // Found by asking the list view itself which points of the row hit the check box.
  const RECT row = ItemRect(index, LVIR_BOUNDS);
  const int y = (row.top + row.bottom) / 2;
  int first = -1, last = -1;
  for (int x = row.left; x < row.left + 48; ++x) {
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    SendWithBlock(LVM_HITTEST, 0, &hit, sizeof hit);
    if (hit.iItem != index || (hit.flags & LVHT_ONITEMSTATEICON) == 0) continue;
    if (first < 0) first = x;
    last = x;
  }
  POINT at{first < 0 ? row.left + 8 : (first + last) / 2, y};
  ClientToScreen(list_, &at);
  return at;
}

POINT RemoteListView::TextPoint(int index) const {
  const RECT label = ItemRect(index, LVIR_LABEL);
  POINT at{label.left + 20, (label.top + label.bottom) / 2};
  ClientToScreen(list_, &at);
  return at;
}

}  // namespace pw::e2e
