#pragma once

#include <array>
#include <cstdint>
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
};

}  // namespace pw
