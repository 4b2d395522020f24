#pragma once

#include <windows.h>

#include <deque>
#include <mutex>

#include "platform/win32/unique.h"
#include "service/watchdog.h"
#include "service/win32/owner_pipe.h"
#include "service/win32/win32_guard_host.h"

namespace pw::service {

using win32::UniqueHandle;

// The service's one wait: on its stop event, on session changes, on every guard's process handle
// and the event it answers on, with the time out at the watchdog's next due time. Nothing runs
// between events; each guard's answer wakes it about once a second.
class ServiceLoop {
 public:
  // The owner's pipe, where given, is served from the same wait.
  explicit ServiceLoop(Win32GuardHost& host, OwnerPipe* owner = nullptr);

  // From the service control handler, which Windows calls on another thread.
  void PostStop();
  void PostSessionChange(DWORD eventType, DWORD session);

  // Runs the watchdog until the stop; false when the wait itself failed.
  bool Run();

 private:
  struct SessionChange {
    DWORD eventType;
    DWORD session;
  };

  void TakeSessionChanges(Watchdog& dog, Millis now);

  Win32GuardHost& host_;
  OwnerPipe* owner_;
  UniqueHandle stop_;
  UniqueHandle sessionChanged_;
  std::mutex mutex_;  // guards changes_ between the handler's thread and the loop's
  std::deque<SessionChange> changes_;
};

}  // namespace pw::service
