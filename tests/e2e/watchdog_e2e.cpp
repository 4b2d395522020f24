// End-to-end scenarios of the watchdog: the real pgwatchsvc.exe keeping the real pgwatch.exe
// running, this driver killing and closing it.
// Usage: pw_watchdog_e2e.exe <folder of both programs> [--service | --console] [scenario | --cpu]
// Without a mode it tests the service's install, start and stop, then runs the scenarios with
// the service, or with the console process when the service cannot place a guard on this
// desktop. Without a scenario it runs them all and then gives a quiet time for measuring the
// watchdog's CPU time.
#include <windows.h>
// The tool help needs windows.h first.
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "base/exit_codes.h"
#include "service/win32/recovery_config.h"
#include "tests/e2e/e2e_check.h"
#include "tests/e2e/e2e_driver.h"
#include "tests/e2e/guard_descriptor.h"
#include "tests/e2e/watchdog_runner.h"

namespace pw::e2e {

namespace {

constexpr int kStartWait = 30000;  // Wine is slow to start programs
constexpr int kRestartWait = 3000;
constexpr int kQuiet = 5000;  // how long "nothing starts" is watched

std::vector<DWORD> GuardProcesses() {
  std::vector<DWORD> pids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return pids;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (_stricmp(entry.szExeFile, "pgwatch.exe") == 0) pids.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return pids;
}

class Scenarios {
 public:
  Scenarios(Driver& driver, WatchdogRunner& runner) : d_(driver), w_(runner) {}

  DWORD Guard() {
    HWND monitor = d_.Monitor();
    return monitor != nullptr ? d_.ProcessOf(monitor) : 0;
  }

  // Waits for a monitor of another process than `old`; returns its process or 0.
  DWORD WaitForGuard(DWORD old, int ms) {
    DWORD pid = 0;
    d_.WaitFor([&] { return (pid = Guard()) != 0 && pid != old; }, ms);
    return pid != old ? pid : 0;
  }

  bool StartWatchdog(Check& c, DWORD& guard) {
    c.That(w_.Start(), "the watchdog starts");
    guard = WaitForGuard(0, kStartWait);
    c.That(guard != 0, "a guard runs");
    return guard != 0;
  }

  // Does something to the guard and returns the code it ended with, or 0xFFFF'FFFF.
  template <class Action>
  DWORD EndGuard(DWORD pid, Action action) {
    HANDLE process = OpenProcess(
        SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
    if (process == nullptr) return 0xFFFFFFFF;
    action(process);
    DWORD code = 0xFFFFFFFF;
    if (WaitForSingleObject(process, 10000) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
  }

  DWORD Kill(DWORD pid) {
    return EndGuard(pid, [](HANDLE process) { TerminateProcess(process, 1); });
  }

  DWORD EndSession(DWORD pid, LPARAM how) {
    HWND monitor = d_.Monitor();
    return EndGuard(pid, [&](HANDLE) {
      DWORD_PTR answer = 0;
      SendMessageTimeoutA(monitor, WM_QUERYENDSESSION, 0, how, SMTO_ABORTIFHUNG, 5000, &answer);
      PostMessageA(monitor, WM_ENDSESSION, TRUE, how);
    });
  }

  // No guard process for a while.
  bool NoGuardFor(int ms) {
    return !d_.WaitFor([] { return !GuardProcesses().empty(); }, ms);
  }

  void KilledGuardComesBack(Check& c) {
    DWORD guard = 0;
    if (!StartWatchdog(c, guard)) return;
    c.That(GuardProcesses().size() == 1, "exactly one guard process");
    const ULONGLONG killed = GetTickCount64();
    Kill(guard);
    d_.WaitFor([] { return !GuardProcesses().empty(); }, kRestartWait);
    const ULONGLONG started = GetTickCount64();
    const DWORD fresh = WaitForGuard(guard, kRestartWait);
    c.That(fresh != 0, "a new monitor of a new process within 3 s of TerminateProcess");
    std::printf("    a new process after %llu ms, its monitor window after %llu ms\n",
                started - killed, GetTickCount64() - killed);
  }

  void SixKillsShowTheRateLimit(Check& c) {
    DWORD guard = 0;
    if (!StartWatchdog(c, guard)) return;
    for (int i = 1; i <= 5; ++i) {
      Kill(guard);
      guard = WaitForGuard(guard, kRestartWait);
      c.That(guard != 0, "kill " + std::to_string(i) + ": back within 3 s");
      if (guard == 0) return;
    }
    Kill(guard);
    const ULONGLONG sixth = GetTickCount64();
    c.That(NoGuardFor(kQuiet), "kill 6: held back");
    if (!w_.AsService()) {
      c.That(w_.Output().find("next start waits 30 s") != std::string::npos,
             "the delay is reported");
    }
    c.That(WaitForGuard(0, 40000) != 0, "kill 6: back after the back-off");
    std::printf("    sixth back after %llu ms\n", GetTickCount64() - sixth);
  }

  // Any program of the user may send the guard the end of a session or an installer's close;
  // without the log-off or the service's stop that would follow a real one (Wine shows neither),
  // the guard is back within 10 s, and the limiter holds nothing back.
  void ForgedEnd(Check& c, LPARAM how, ExitCode claim) {
    DWORD guard = 0;
    if (!StartWatchdog(c, guard)) return;
    for (int round = 1; round <= 2; ++round) {
      const std::string which = "forged end " + std::to_string(round) + ": ";
      c.That(EndSession(guard, how) == static_cast<DWORD>(claim),
             which + "the guard ends with the claimed code");
      const ULONGLONG ended = GetTickCount64();
      const bool back = d_.WaitFor([] { return !GuardProcesses().empty(); }, 10000);
      c.That(back, which + "a guard process again within 10 s");
      std::printf("    %sunguarded for %llu ms\n", which.c_str(), GetTickCount64() - ended);
      guard = WaitForGuard(guard, kStartWait);
      if (guard == 0) return;
    }
  }

  void ForgedLogOffIsUndone(Check& c) { ForgedEnd(c, 0, ExitCode::LoggedOff); }

  void ForgedInstallerCloseIsUndone(Check& c) {
    ForgedEnd(c, ENDSESSION_CLOSEAPP, ExitCode::InstallerClose);
  }

  // Entry by entry, on the process and its first thread: the user may wait and ask, no more.
  void GuardDescriptorReadBack(Check& c) {
    DWORD guard = 0;
    if (!StartWatchdog(c, guard)) return;
    // False when the object could not be opened to read its list.
    auto readBack = [&](HANDLE object, const std::string& name, DWORD user, DWORD full) {
      c.That(object != nullptr, "the guard's " + name + " opens for READ_CONTROL");
      if (object == nullptr) return false;
      const std::string faults = GuardDescriptorFaults(object, user, full);
      c.That(faults.empty(), "the " + name + "'s access list:" + faults);
      CloseHandle(object);
      return true;
    };
    if (!readBack(OpenProcess(READ_CONTROL, FALSE, guard), "process",
                  SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, PROCESS_ALL_ACCESS)) {
      return;
    }
    readBack(OpenThread(READ_CONTROL, FALSE, FirstThreadOf(guard)), "first thread",
             SYNCHRONIZE | THREAD_QUERY_LIMITED_INFORMATION, THREAD_ALL_ACCESS);
  }

  // Stopped from Linux (SIGSTOP, by scripts/e2e-watchdog on the line this prints), the guard
  // neither ends nor answers: the service ends it and starts another within 15 s.
  void StoppedGuardIsReplaced(Check& c) {
    DWORD guard = 0;
    if (!StartWatchdog(c, guard)) return;
    d_.Pause(3000);  // answering by now
    std::printf("sigstop-guard %lu\n", static_cast<unsigned long>(guard));
    std::fflush(stdout);
    const ULONGLONG stopped = GetTickCount64();
    const DWORD fresh = WaitForGuard(guard, 20000);
    const ULONGLONG took = GetTickCount64() - stopped;
    c.That(fresh != 0 && took <= 15000, "a new guard within 15 s of the stop");
    std::printf("    a new monitor after %llu ms\n", took);
    HANDLE old = OpenProcess(SYNCHRONIZE, FALSE, guard);
    c.That(old == nullptr || WaitForSingleObject(old, 5000) == WAIT_OBJECT_0,
           "the stopped guard was ended");
    if (old != nullptr) CloseHandle(old);
  }

  // A hidden window of the guard's class and caption, made by another program (here the
  // driver), keeps no guard the service starts from staying.
  void DecoyWindowKeepsNoGuardDown(Check& c) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "PagewardenForm";
    RegisterClassA(&cls);
    HWND decoy = CreateWindowExA(0, "PagewardenForm", "Pagewarden", WS_OVERLAPPED, 0, 0, 10, 10,
                                 nullptr, nullptr, cls.hInstance, nullptr);
    c.That(decoy != nullptr, "the decoy window is made");
    DWORD guard = 0;
    if (StartWatchdog(c, guard)) {
      Kill(guard);
      guard = WaitForGuard(guard, kRestartWait + 2000);
      c.That(guard != 0, "a guard started beside the decoy becomes the monitor");
      d_.Pause(kQuiet);
      c.That(guard != 0 && Guard() == guard, "and stays");
    }
    // Before anything ends the program's copies by their windows' class.
    if (decoy != nullptr) DestroyWindow(decoy);
  }

  // Asked to close (as `taskkill` without /F does), again and again, the service's guard stays.
  void OrderlyCloseLeavesOneGuard(Check& c) {
    DWORD guard = 0;
    if (!StartWatchdog(c, guard)) return;
    HWND monitor = d_.Monitor();
    for (int i = 0; i < 5; ++i) {
      PostMessageA(monitor, WM_CLOSE, 0, 0);
      d_.Pause(200);
    }
    d_.Pause(kQuiet);
    c.That(GuardProcesses().size() == 1, "exactly one guard process");
    c.That(Guard() == guard, "the same guard is the monitor");
  }

  void AdministratorStopRestartsNothing(Check& c) {
    DWORD guard = 0;
    if (!StartWatchdog(c, guard)) return;
    c.That(w_.Stop(), "the watchdog stops");
    c.That(GuardProcesses().size() == 1, "the guard keeps running");
    Kill(guard);
    c.That(NoGuardFor(kQuiet), "a guard killed after the stop stays gone");
  }

  // What the package's removal does: the installer closes the guard, stops and deletes the
  // service.
  void UninstallLeavesNothing(Check& c) {
    DWORD guard = 0;
    if (!StartWatchdog(c, guard)) return;
    EndSession(guard, ENDSESSION_CLOSEAPP);
    c.That(w_.Stop(), "the watchdog stops");
    c.That(w_.Remove(), "the service is removed");
    c.That(NoGuardFor(kQuiet), "no guard");
    c.That(!w_.Installed(), "no service");
    c.That(w_.Install(), "installed again for what follows");
  }

  // A quiet time for measuring the watchdog's CPU: Wine reports other processes' times wrongly,
  // so the script that runs this reads them from Linux between the two marks.
  int QuietTimeForCpu() {
    Check c;
    DWORD guard = 0;
    if (!StartWatchdog(c, guard)) return 1;
    d_.Pause(2000);
    std::printf("cpu-quiet-begin %s\n", w_.AsService() ? "service" : "console process");
    std::fflush(stdout);
    d_.Pause(20000);
    std::printf("cpu-quiet-end 20 s\n");
    std::fflush(stdout);
    w_.Stop();
    return 0;
  }

 private:
  Driver& d_;
  WatchdogRunner& w_;
};

struct Scenario {
  const char* name;
  void (Scenarios::*run)(Check&);
};

const Scenario kScenarios[] = {
    {"watchdog_killed_guard_comes_back", &Scenarios::KilledGuardComesBack},
    {"watchdog_six_kills_show_the_rate_limit", &Scenarios::SixKillsShowTheRateLimit},
    {"watchdog_forged_log_off_is_undone", &Scenarios::ForgedLogOffIsUndone},
    {"watchdog_forged_installer_close_is_undone", &Scenarios::ForgedInstallerCloseIsUndone},
    {"watchdog_guard_descriptor_read_back", &Scenarios::GuardDescriptorReadBack},
    {"watchdog_stopped_guard_is_replaced", &Scenarios::StoppedGuardIsReplaced},
    {"watchdog_decoy_window_keeps_no_guard_down", &Scenarios::DecoyWindowKeepsNoGuardDown},
    {"watchdog_orderly_close_leaves_one_guard", &Scenarios::OrderlyCloseLeavesOneGuard},
    {"watchdog_administrator_stop_restarts_nothing", &Scenarios::AdministratorStopRestartsNothing},
    {"watchdog_uninstall_leaves_nothing", &Scenarios::UninstallLeavesNothing},
};

// The restart on failure the service sets at its start, read back from the service manager.
void CheckRecovery(Driver& driver, Check& c) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = manager == nullptr ? nullptr
                                         : OpenServiceA(manager, WatchdogRunner::kServiceName,
                                                        SERVICE_QUERY_CONFIG);
  std::optional<service::RecoveryPolicy> read;
  const bool set = driver.WaitFor(
      [&] { return (read = service::ReadRecovery(service)) == service::WantedRecovery(); }, 5000);
  if (service != nullptr) CloseServiceHandle(service);
  if (manager != nullptr) CloseServiceHandle(manager);
  std::string seen = read ? "reset after " + std::to_string(read->resetAfter / 1000) + " s," : "";
  for (const Millis delay : read ? read->restartDelays : std::vector<Millis>{}) {
    seen += " restart after " + std::to_string(delay) + " ms";
  }
  const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  if (!set && wine && !read) {
    // Wine's service manager accepts failure actions, keeps none and answers a query for them
    // with ERROR_INVALID_LEVEL.
    std::printf("NOTE Wine cannot report failure actions; only Windows reads them back\n");
    return;
  }
  c.That(set, "the service set its restart on failure; read back: " + seen);
}

// The service wrapper on its own: installed, started, stopped, removed.
bool ServiceLifecycle(Driver& driver, const std::string& folder, Check& c) {
  WatchdogRunner service(folder, true);
  c.That(service.Install(), "the service installs");
  c.That(service.Installed(), "the service is known");
  c.That(service.Start(), "the service starts and reports running");
  c.That(service.ProcessId() != 0, "the service has a process");
  CheckRecovery(driver, c);
  c.That(service.Stop(), "the service stops and reports stopped");
  c.That(service.Remove(), "the service is removed");
  c.That(!service.Installed(), "the service is gone");
  return c.ok;
}

// Whether the service, once started, places a guard on this desktop.
bool ServicePlacesAGuard(Driver& driver, const std::string& folder) {
  WatchdogRunner service(folder, true);
  bool placed = false;
  if (service.Install() && service.Start()) {
    placed = driver.WaitFor([&] { return driver.Monitor() != nullptr; }, kStartWait);
    service.Stop();
  }
  service.Remove();
  driver.Reset();
  return placed;
}

}  // namespace

}  // namespace pw::e2e

int main(int argc, char** argv) {
  using namespace pw::e2e;
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: pw_watchdog_e2e <folder> [--service|--console] [scenario|--cpu]\n");
    return 2;
  }
  std::string folder = argv[1];
  for (char& ch : folder) {
    if (ch == '/') ch = '\\';
  }
  int next = 2;
  Driver driver(folder + "\\pgwatch.exe");
  driver.Reset();
  int passed = 0, failed = 0;
  bool asService = false;
  if (argc > next && std::strcmp(argv[next], "--service") == 0) {
    asService = true;
    ++next;
  } else if (argc > next && std::strcmp(argv[next], "--console") == 0) {
    ++next;
  } else {
    Check lifecycle;
    ServiceLifecycle(driver, folder, lifecycle);
    std::printf("%s watchdog_service_install_start_stop\n%s", lifecycle.ok ? "PASS" : "FAIL",
                lifecycle.failures.c_str());
    (lifecycle.ok ? passed : failed)++;
    asService = ServicePlacesAGuard(driver, folder);
    if (!asService) {
      std::printf(
          "NOTE the service started no guard on this desktop; the scenarios run the "
          "watchdog as a console process in this session\n");
    }
  }
  const char* only = argc > next ? argv[next] : nullptr;
  WatchdogRunner runner(folder, asService);
  runner.Install();
  Scenarios scenarios(driver, runner);
  int status = 0;
  if (only != nullptr && std::strcmp(only, "--cpu") == 0) {
    status = scenarios.QuietTimeForCpu();
  } else {
    for (const Scenario& scenario : kScenarios) {
      if (only != nullptr && std::strcmp(only, scenario.name) != 0) continue;
      Check check;
      (scenarios.*scenario.run)(check);
      runner.Stop();
      driver.Reset();
      std::printf("%s %s\n%s", check.ok ? "PASS" : "FAIL", scenario.name, check.failures.c_str());
      std::fflush(stdout);
      (check.ok ? passed : failed)++;
    }
    std::printf("watchdog e2e (%s): %d passed, %d failed\n",
                asService ? "service" : "console process", passed, failed);
    status = failed == 0 ? 0 : 1;
    if (only == nullptr) scenarios.QuietTimeForCpu();
  }
  runner.Stop();
  runner.Remove();
  driver.Reset();
  return status;
}
