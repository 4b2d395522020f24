#pragma once

#include <windows.h>

#include <string>

namespace pw::e2e {

// Runs the watchdog for the end-to-end tests, as a service or as a console process.
class WatchdogRunner {
 public:
  static constexpr const char* kServiceName = "PagewardenWatchdog";

  // `folder` holds pgwatchsvc.exe and pgwatch.exe.
  WatchdogRunner(std::string folder, bool asService);
  ~WatchdogRunner();
  WatchdogRunner(const WatchdogRunner&) = delete;
  WatchdogRunner& operator=(const WatchdogRunner&) = delete;

  bool AsService() const { return asService_; }
  // Installs the service (automatic start, LocalSystem) as a package would.
  bool Install();
  bool Start();
  // An administrator's stop; for the console process, its end.
  bool Stop();
  bool Remove();
  bool Installed();
  // The watchdog's process, while it runs.
  DWORD ProcessId();
  // What the console process wrote so far (its event texts); empty for the service.
  std::string Output();

 private:
  std::string folder_;
  bool asService_;
  HANDLE console_ = nullptr;
  std::string outputFile_;
};

}  // namespace pw::e2e
