#pragma once

#include <windows.h>

#include <cstdint>
#include <map>

#include "platform/window_system.h"

namespace pw::win32 {

// user32's wide window calls on other programs' windows, with UTF-8 text. Every call on the
// handle 0 does nothing and reports failure (0, false), before user32 can read 0 as "this
// thread" or "the desktop".
class Win32WindowSystem : public WindowSystem {
 public:
  Hwnd FindWindowA(const char* className, const char* title) override;
  Hwnd GetForegroundWindow() override;
  bool IsWindowVisible(Hwnd window) override;
  int GetWindowTextA(Hwnd window, char* buffer, int maxCount) override;
  int GetClassNameA(Hwnd window, char* buffer, int maxCount) override;
  ProcessKey ProcessOf(Hwnd window) override;
  std::string ProgramNameOf(const ProcessKey& process) override;
  bool Answers(Hwnd window) override;
  // For a window that does not answer, the call is held back until it does (see the source).
  bool EnableWindow(Hwnd window, bool enable) override;
  bool ShowWindowAsync(Hwnd window, int command) override;
  bool PostMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                    std::intptr_t lParam) override;
  bool ClientToScreen(Hwnd window, Point& point) override;
  bool SetCursorPos(int x, int y) override;
  bool ClipCursor(const Rect* rect) override;
  bool GetClipCursor(Rect& rect) override;
  bool GetWindowRect(Hwnd window, Rect& rect) override;
  bool SetWindowPos(Hwnd window, Hwnd insertAfter, int x, int y, int cx, int cy,
                    std::uint32_t flags) override;

 private:
  struct HeldBack;
  static void CALLBACK OnAnswer(HWND window, UINT message, ULONG_PTR data, LRESULT result);
  static void CALLBACK OnHeldBackAnswer(HWND window, UINT message, ULONG_PTR data, LRESULT result);

  // Windows asked without waiting whether they answer, with their thread, until they do.
  std::map<Hwnd, DWORD> unanswered_;
  // Enable calls held back per window, so that a later call never overtakes an earlier one.
  std::map<Hwnd, int> heldBack_;
};

}  // namespace pw::win32
