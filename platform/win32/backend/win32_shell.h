#pragma once

#include <cstdint>
#include <string>

#include "platform/shell.h"

namespace pw::win32 {

// shell32's notification icon and document opening, and starting programs with kernel32.
// Lives on the user-interface thread, for which it sets up COM: the shell may hand a web
// address to a COM handler.
class Win32Shell : public Shell {
 public:
  Win32Shell();
  ~Win32Shell() override;
  Win32Shell(const Win32Shell&) = delete;
  Win32Shell& operator=(const Win32Shell&) = delete;

  bool Shell_NotifyIconA(std::uint32_t message, const TrayRecord& record) override;
  std::intptr_t ShellExecuteA(Hwnd owner, const std::string& operation, const std::string& file,
                              const std::string& parameters, const std::string& directory,
                              int showCommand) override;
  bool StartProgram(const std::string& path, int windowStyle) override;
  std::optional<std::string> ChooseSaveFile(Hwnd owner, const std::string& suggested) override;
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override;

 private:
  bool comReady_ = false;
};

}  // namespace pw::win32
