#pragma once

#include <string>

#include "platform/input.h"
#include "platform/process.h"
#include "platform/registry_api.h"
#include "platform/shell.h"
#include "platform/window_system.h"

namespace pw {

// advapi32's single-byte registry calls, always in the 32-bit view, so that the 32-bit and the
// 64-bit builds (and earlier 32-bit installs) share their settings.
class Win32Registry : public RegistryApi {
 public:
  long RegOpenKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                     std::uint32_t access, RegKey& result) override;
  long RegCreateKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                       std::uint32_t access, RegKey& result, std::uint32_t& disposition) override;
  long RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                      const std::uint8_t* data, std::uint32_t size) override;
  long RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t& type,
                        std::uint8_t* data, std::uint32_t& size) override;
  long RegDeleteValueA(RegKey key, const std::string& name) override;
  long RegCloseKey(RegKey key) override;
};

class Win32WindowSystem : public WindowSystem {
 public:
  Hwnd FindWindowA(const char* className, const char* title) override;
  Hwnd GetForegroundWindow() override;
  bool IsWindowVisible(Hwnd window) override;
  int GetWindowTextA(Hwnd window, char* buffer, int maxCount) override;
  int GetClassNameA(Hwnd window, char* buffer, int maxCount) override;
  bool EnableWindow(Hwnd window, bool enable) override;
  bool ShowWindowAsync(Hwnd window, int command) override;
  bool PostMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                    std::intptr_t lParam) override;
  bool ClientToScreen(Hwnd window, Point& point) override;
  bool SetCursorPos(int x, int y) override;
  bool ClipCursor(const Rect* rect) override;
  bool SetWindowPos(Hwnd window, Hwnd insertAfter, int x, int y, int cx, int cy,
                    std::uint32_t flags) override;
};

class Win32Shell : public Shell {
 public:
  bool Shell_NotifyIconA(std::uint32_t message, const TrayRecord& record) override;
  std::intptr_t ShellExecuteA(Hwnd owner, const std::string& operation, const std::string& file,
                              const std::string& parameters, const std::string& directory,
                              int showCommand) override;
  bool StartProgram(const std::string& path, int windowStyle) override;
};

class Win32Input : public Input {
 public:
  void SendDownArrowAndWait() override;
  void Beep() override;
};

class Win32Process : public Process {
 public:
  [[noreturn]] void EndNow() override;
  std::string ProgramFolder() override;
};

}  // namespace pw
