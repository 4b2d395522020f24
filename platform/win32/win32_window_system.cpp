#include "platform/win32/win32_window_system.h"

#include "platform/win32/win32_handle_cast.h"

namespace pw {

namespace {

using win32::FromHwnd;
using win32::ToHwnd;

// Both text calls leave an empty string behind when they copy nothing, as user32 does for a
// window it knows.
int CopyNothing(char* buffer, int maxCount) {
  if (buffer != nullptr && maxCount > 0) buffer[0] = '\0';
  return 0;
}

}  // namespace

Hwnd Win32WindowSystem::FindWindowA(const char* className, const char* title) {
  return FromHwnd(::FindWindowA(className, title));
}

Hwnd Win32WindowSystem::GetForegroundWindow() {
  return FromHwnd(::GetForegroundWindow());
}

bool Win32WindowSystem::IsWindowVisible(Hwnd window) {
  return window != 0 && ::IsWindowVisible(ToHwnd(window)) != FALSE;
}

int Win32WindowSystem::GetWindowTextA(Hwnd window, char* buffer, int maxCount) {
  if (window == 0 || buffer == nullptr || maxCount <= 0) return CopyNothing(buffer, maxCount);
  return ::GetWindowTextA(ToHwnd(window), buffer, maxCount);
}

int Win32WindowSystem::GetClassNameA(Hwnd window, char* buffer, int maxCount) {
  if (window == 0 || buffer == nullptr || maxCount <= 0) return CopyNothing(buffer, maxCount);
  return ::GetClassNameA(ToHwnd(window), buffer, maxCount);
}

bool Win32WindowSystem::EnableWindow(Hwnd window, bool enable) {
  if (window == 0) return false;
  // user32 answers whether the window was disabled before, as the simulation does.
  return ::EnableWindow(ToHwnd(window), enable ? TRUE : FALSE) != FALSE;
}

bool Win32WindowSystem::ShowWindowAsync(Hwnd window, int command) {
  if (window == 0) return false;
  return ::ShowWindowAsync(ToHwnd(window), command) != FALSE;
}

bool Win32WindowSystem::PostMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  // user32 would post a message to the handle 0 to this thread's own queue.
  if (window == 0) return false;
  return ::PostMessageA(ToHwnd(window), message, static_cast<WPARAM>(wParam),
                        static_cast<LPARAM>(lParam)) != FALSE;
}

bool Win32WindowSystem::ClientToScreen(Hwnd window, Point& point) {
  if (window == 0) return false;
  POINT p{point.x, point.y};
  if (::ClientToScreen(ToHwnd(window), &p) == FALSE) return false;
  point = {static_cast<int>(p.x), static_cast<int>(p.y)};
  return true;
}

bool Win32WindowSystem::SetCursorPos(int x, int y) {
  return ::SetCursorPos(x, y) != FALSE;
}

bool Win32WindowSystem::ClipCursor(const Rect* rect) {
  if (rect == nullptr) return ::ClipCursor(nullptr) != FALSE;
  const RECT r{rect->left, rect->top, rect->right, rect->bottom};
  return ::ClipCursor(&r) != FALSE;
}

bool Win32WindowSystem::GetClipCursor(Rect& rect) {
  RECT r{};
  if (::GetClipCursor(&r) == FALSE) return false;
  rect = {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
          static_cast<int>(r.bottom)};
  return true;
}

bool Win32WindowSystem::SetWindowPos(Hwnd window, Hwnd insertAfter, int x, int y, int cx, int cy,
                                     std::uint32_t flags) {
  if (window == 0) return false;
  const HWND handle = ToHwnd(window);
  // Into the topmost layer without moving: nothing to do for a topmost window in front of all.
  constexpr UINT kKeepPlace = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
  if (insertAfter == HWND_TOPMOST_ && (flags & kKeepPlace) == kKeepPlace &&
      (GetWindowLongA(handle, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 &&
      GetTopWindow(nullptr) == handle) {
    return true;
  }
  return ::SetWindowPos(handle, ToHwnd(insertAfter), x, y, cx, cy, flags) != FALSE;
}

}  // namespace pw
