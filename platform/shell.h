#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/types.h"
#include "platform/win32_constants.h"

namespace pw {

// The 88-byte NOTIFYICONDATA record of the first form, its tip in UTF-8.
using TrayRecord = std::array<std::uint8_t, 88>;

class Shell {
 public:
  virtual ~Shell() = default;

  virtual bool Shell_NotifyIconA(std::uint32_t message, const TrayRecord& record) = 0;
  virtual std::intptr_t ShellExecuteA(Hwnd owner, const std::string& operation,
                                      const std::string& file, const std::string& parameters,
                                      const std::string& directory, int showCommand) = 0;
  // Starts a program file without waiting for it; false when it could not be started.
  virtual bool StartProgram(const std::string& path, int windowStyle) = 0;
  // The common Save dialog for a CSV file, owned by the window; the chosen path, or nothing
  // when the user cancelled.
  virtual std::optional<std::string> ChooseSaveFile(Hwnd owner, const std::string& suggested) = 0;
  // Writes a file whole, replacing one of that name; false when it could not be written.
  virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
};

}  // namespace pw
