#include "tests/e2e/watchdog_runner.h"

#include <fstream>
#include <sstream>

namespace pw::e2e {

namespace {

struct Scm {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  SC_HANDLE service = nullptr;
  explicit Scm(bool open) {
    if (open && manager != nullptr) {
      service = OpenServiceA(manager, WatchdogRunner::kServiceName, SERVICE_ALL_ACCESS);
    }
  }
  ~Scm() {
    if (service != nullptr) CloseServiceHandle(service);
    if (manager != nullptr) CloseServiceHandle(manager);
  }
  DWORD State() {
    SERVICE_STATUS_PROCESS status{};
    DWORD needed = 0;
    if (!QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                              sizeof status, &needed)) {
      return 0;
    }
    return status.dwCurrentState;
  }
  DWORD Pid() {
    SERVICE_STATUS_PROCESS status{};
    DWORD needed = 0;
    QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                         sizeof status, &needed);
    return status.dwProcessId;
  }
  bool WaitFor(DWORD state) {
    for (int i = 0; i < 300; ++i) {
      if (State() == state) return true;
      Sleep(100);
    }
    return false;
  }
};

}  // namespace

WatchdogRunner::WatchdogRunner(std::string folder, bool asService)
    : folder_(std::move(folder)), asService_(asService) {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  outputFile_ = std::string(temp) + "pgwatchsvc-console.txt";
}

WatchdogRunner::~WatchdogRunner() {
  Stop();
}

bool WatchdogRunner::Install() {
  if (!asService_) return true;
  Scm scm(false);
  const std::string binary = "\"" + folder_ + "\\pgwatchsvc.exe\"";
  SC_HANDLE service =
      CreateServiceA(scm.manager, kServiceName, "Pagewarden Watchdog", SERVICE_ALL_ACCESS,
                     SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                     binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
  if (service == nullptr) return false;
  CloseServiceHandle(service);
  return true;
}

bool WatchdogRunner::Start() {
  if (asService_) {
    Scm scm(true);
    if (scm.service == nullptr || !StartServiceA(scm.service, 0, nullptr)) return false;
    return scm.WaitFor(SERVICE_RUNNING);
  }
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE output = CreateFileA(outputFile_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION started{};
  std::string commandLine = "\"" + folder_ + "\\pgwatchsvc.exe\" --console";
  const BOOL ok = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                 CREATE_NO_WINDOW, nullptr, folder_.c_str(), &startup, &started);
  CloseHandle(output);
  if (!ok) return false;
  CloseHandle(started.hThread);
  console_ = started.hProcess;
  return true;
}

bool WatchdogRunner::Stop() {
  if (asService_) {
    Scm scm(true);
    if (scm.service == nullptr) return false;
    SERVICE_STATUS status{};
    if (scm.State() == SERVICE_STOPPED) return true;
    if (!ControlService(scm.service, SERVICE_CONTROL_STOP, &status)) return false;
    return scm.WaitFor(SERVICE_STOPPED);
  }
  if (console_ == nullptr) return true;
  TerminateProcess(console_, 0);
  WaitForSingleObject(console_, 10000);
  CloseHandle(console_);
  console_ = nullptr;
  return true;
}

bool WatchdogRunner::Remove() {
  if (!asService_) return true;
  Scm scm(true);
  return scm.service != nullptr && DeleteService(scm.service) != FALSE;
}

bool WatchdogRunner::Installed() {
  Scm scm(true);
  return scm.service != nullptr;
}

DWORD WatchdogRunner::ProcessId() {
  if (!asService_) return console_ != nullptr ? GetProcessId(console_) : 0;
  Scm scm(true);
  return scm.service != nullptr ? scm.Pid() : 0;
}

std::string WatchdogRunner::Output() {
  std::ifstream file(outputFile_);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace pw::e2e
