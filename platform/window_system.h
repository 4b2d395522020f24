#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"
#include "platform/win32_constants.h"

namespace pw {

// The user32 operations the monitor and the prompt use on other programs' windows, with UTF-8
// text. Every operation on the handle 0 does nothing.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // A null class or title means "any". Titles and classes compare letter case aside.
  virtual Hwnd FindWindowA(const char* className, const char* title) = 0;
  virtual Hwnd GetForegroundWindow() = 0;
  virtual bool IsWindowVisible(Hwnd window) = 0;
  // Copies at most maxCount - 1 bytes, never splitting a character, plus a terminating zero;
  // returns the count of bytes copied.
  virtual int GetWindowTextA(Hwnd window, char* buffer, int maxCount) = 0;
  virtual int GetClassNameA(Hwnd window, char* buffer, int maxCount) = 0;
  // The process the window belongs to; none when the window is gone or its process cannot be
  // opened (an elevated or protected one may refuse).
  virtual ProcessKey ProcessOf(Hwnd window) = 0;
  // The file name of the program the process runs ("msedge.exe"), or empty when the process is
  // gone (or another now has its number) or cannot be opened.
  virtual std::string ProgramNameOf(const ProcessKey& process) = 0;
  // Whether the window's thread reads its messages, asked without waiting for one that does
  // not. Calls that send to a window (EnableWindow) wait for that thread.
  virtual bool Answers(Hwnd window) = 0;
  virtual bool EnableWindow(Hwnd window, bool enable) = 0;
  virtual bool ShowWindowAsync(Hwnd window, int command) = 0;
  virtual bool PostMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) = 0;
  virtual bool ClientToScreen(Hwnd window, Point& point) = 0;
  virtual bool SetCursorPos(int x, int y) = 0;
  // Null frees the cursor.
  virtual bool ClipCursor(const Rect* rect) = 0;
  // The rectangle the cursor is confined to; the whole screen when it is free.
  virtual bool GetClipCursor(Rect& rect) = 0;
  // The window's outer rectangle on the screen, in pixels.
  virtual bool GetWindowRect(Hwnd window, Rect& rect) = 0;
  virtual bool SetWindowPos(Hwnd window, Hwnd insertAfter, int x, int y, int cx, int cy,
                            std::uint32_t flags) = 0;
};

}  // namespace pw
