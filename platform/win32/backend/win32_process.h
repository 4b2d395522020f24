#pragma once

#include <string>

#include "platform/process.h"
#include "platform/win32/unique.h"

namespace pw::win32 {

class Win32Process : public Process {
 public:
  // Takes the watchdog service's answer event, when it started this process.
  Win32Process();
  Win32Process(const Win32Process&) = delete;
  Win32Process& operator=(const Win32Process&) = delete;

  // ExitProcess: no destructor, unload handler or message runs after it.
  [[noreturn]] void EndNow(std::uint32_t exitCode) override;
  std::string ProgramFolder() override;
  bool SessionGuard() const override { return static_cast<bool>(answers_); }
  void Answer() override;

 private:
  win32::UniqueHandle answers_;
};

}  // namespace pw::win32
