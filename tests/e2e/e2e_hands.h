#pragma once

#include <windows.h>

#include <string>

namespace pw::e2e {

// Real input, as a user gives it: the mouse moves and clicks where a window stands on the
// screen, keys go down and up. It reaches whatever window is there, as the user's would.
void ClickAt(POINT screen);
// The middle of a window, or of a rectangle in a window's client coordinates.
void ClickWindow(HWND window);
void PressKey(WORD key);
// Holds the modifier while the key goes down and up (Alt+S and the like).
void PressWith(WORD modifier, WORD key);
// Characters as keystrokes, into the window that has the keyboard focus.
void TypeKeys(const std::string& text);

// The window that has the keyboard focus on the thread that owns the given window.
HWND FocusOf(HWND window);

// A list view of another process, read through memory lent in that process: list view messages
// carry pointers, which Windows does not carry from one process to another.
class RemoteListView {
 public:
  explicit RemoteListView(HWND list);
  ~RemoteListView();
  RemoteListView(const RemoteListView&) = delete;
  RemoteListView& operator=(const RemoteListView&) = delete;

  bool Usable() const { return remote_ != nullptr; }
  int Count() const;
  std::string Text(int index, int column = 0) const;
  bool Checked(int index) const;
  // The selected entry, or -1.
  int Selected() const;
  // Where to click on the screen: an entry's check box or its text.
  POINT CheckBoxPoint(int index) const;
  POINT TextPoint(int index) const;

 private:
  RECT ItemRect(int index, int part) const;
  // Sends with the block of the given size copied there and back through the lent memory.
  LRESULT SendWithBlock(UINT message, WPARAM wParam, void* block, SIZE_T size) const;

  HWND list_;
  HANDLE process_ = nullptr;
  void* remote_ = nullptr;
};

}  // namespace pw::e2e
