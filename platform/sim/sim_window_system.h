#pragma once

#include "platform/sim/sim_desktop.h"
#include "platform/window_system.h"

namespace pw::sim {

class SimWindowSystem : public WindowSystem {
 public:
  explicit SimWindowSystem(SimDesktop& desktop) : desktop_(desktop) {}

  Hwnd FindWindowA(const char* className, const char* title) override;
  Hwnd GetForegroundWindow() override;
  bool IsWindowVisible(Hwnd window) override;
  int GetWindowTextA(Hwnd window, char* buffer, int maxCount) override;
  int GetClassNameA(Hwnd window, char* buffer, int maxCount) override;
  ProcessKey ProcessOf(Hwnd window) override;
  std::string ProgramNameOf(const ProcessKey& process) override;
  bool Answers(Hwnd window) override;
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
  SimDesktop& desktop_;
};

}  // namespace pw::sim
