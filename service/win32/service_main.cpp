// pgwatchsvc.exe: the watchdog service that keeps a guard running in every session with a user.
//
//   pgwatchsvc.exe            run by the service control manager as "PagewardenWatchdog"
//   pgwatchsvc.exe --console  the same watchdog for this session only, as this user, its event
//                             texts also on the standard output (for systems where a service
//                             cannot start programs on a user's desktop, and for tests)
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "base/names.h"
#include "platform/win32/backend/win32_registry.h"
#include "platform/win32/backend/win32_text_rules.h"
#include "service/authority.h"
#include "service/win32/cng_keys.h"
#include "service/win32/event_log.h"
#include "service/win32/owner_pipe.h"
#include "service/win32/record_storage.h"
#include "service/win32/recovery_config.h"
#include "service/win32/service_loop.h"
#include "service/win32/win32_guard_host.h"

namespace pw::service {

namespace {

std::string OwnPath() {
  char path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return {};
  return std::string(path, length);
}

// The guard is the program file beside this one.
std::string GuardPath(const std::string& ownPath) {
  return ownPath.substr(0, ownPath.find_last_of('\\') + 1) + kGuardProgram;
}

// Seconds since 1970 UTC, for the record.
std::int64_t WallClock() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  constexpr std::uint64_t kTicksTo1970 = 116444736000000000ull;
  return static_cast<std::int64_t>((ticks - kTicksTo1970) / 10000000ull);
}

// The owner's authority as the service runs it: LocalSystem's registry, CNG, the record, the
// pipe.
struct OwnerAuthority {
  explicit OwnerAuthority(EventLog& log)
      : record(recordFile, log, &WallClock),
        authority(registry, keys, text, PasswordRecord::kIterations, &record),
        pipe(authority) {}
  win32::Win32Registry registry;
  CngKeys keys;
  win32::Win32TextRules text;
  RecordStorage recordFile;
  ServiceRecord record;
  Authority authority;
  OwnerPipe pipe;
};

// One run of the service, from its ServiceMain to its stop. The control handler reaches it
// through the context pointer Windows hands back.
class Service {
 public:
  Service()
      : path_(OwnPath()),
        log_(false),
        host_(Win32GuardHost::Mode::Service, GuardPath(path_), log_),
        owner_(log_),
        loop_(host_, &owner_.pipe) {}

  void Run() {
    status_ = RegisterServiceCtrlHandlerExA(kServiceName, &Service::Handler, this);
    if (status_ == nullptr) return;
    EventLog::Register(path_);
    // The record before anything is reported, so the guards' starts are in it too.
    owner_.record.Open();
    log_.SetRecord(&owner_.record);
    // Without its pipe the service still keeps the guards running; the guards then refuse
    // every password, as they must when the authority cannot be reached.
    owner_.pipe.Open();
    SetState(SERVICE_RUNNING, NO_ERROR);
    KeepRecovery(kServiceName, log_);
    const bool ok = loop_.Run();
    SetState(SERVICE_STOPPED, ok ? NO_ERROR : ERROR_INVALID_HANDLE);
  }

 private:
  void SetState(DWORD state, DWORD exitCode) {
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwWin32ExitCode = exitCode;
    if (state == SERVICE_RUNNING) {
      status.dwControlsAccepted =
          SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN | SERVICE_ACCEPT_SESSIONCHANGE;
    }
    if (state == SERVICE_STOP_PENDING) status.dwWaitHint = 2000;
    SetServiceStatus(status_, &status);
  }

  // Called by Windows on the thread that runs the service dispatcher, not on the loop's.
  static DWORD WINAPI Handler(DWORD control, DWORD eventType, void* eventData, void* context) {
    auto* self = static_cast<Service*>(context);
    switch (control) {
      case SERVICE_CONTROL_STOP:
      case SERVICE_CONTROL_SHUTDOWN:
        self->SetState(SERVICE_STOP_PENDING, NO_ERROR);
        self->loop_.PostStop();
        return NO_ERROR;
      case SERVICE_CONTROL_SESSIONCHANGE: {
        const auto* change = static_cast<const WTSSESSION_NOTIFICATION*>(eventData);
        if (change != nullptr) self->loop_.PostSessionChange(eventType, change->dwSessionId);
        return NO_ERROR;
      }
      case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
      default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
  }

  std::string path_;
  EventLog log_;
  Win32GuardHost host_;
  OwnerAuthority owner_;
  ServiceLoop loop_;
  SERVICE_STATUS_HANDLE status_ = nullptr;
};

void WINAPI ServiceMain(DWORD /*argc*/, LPSTR* /*argv*/) {
  Service service;
  service.Run();
}

int RunInConsole() {
  EventLog log(true);
  Win32GuardHost host(Win32GuardHost::Mode::Console, GuardPath(OwnPath()), log);
  ServiceLoop loop(host);
  // Ends with the process (Ctrl+C, or the test that started it).
  return loop.Run() ? 0 : 1;
}

int RunAsService() {
  std::string name = kServiceName;
  SERVICE_TABLE_ENTRYA services[] = {{name.data(), &ServiceMain}, {nullptr, nullptr}};
  // Started by hand, not by the service control manager: nothing to do.
  return StartServiceCtrlDispatcherA(services) ? 0 : 1;
}

}  // namespace

}  // namespace pw::service

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--console") == 0) return pw::service::RunInConsole();
  return pw::service::RunAsService();
}
