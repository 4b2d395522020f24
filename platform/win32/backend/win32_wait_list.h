#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace pw::win32 {

// Kernel objects the thread's message wait also waits for, each with the call to make when it
// is signalled: the way a notice from another part of the system (a registry change) reaches
// the single user-interface thread without a thread of its own.
class Win32WaitList {
 public:
  // onSignal runs from the message wait whenever the handle is signalled, until Unwatch. False
  // when the wait is full.
  bool Watch(HANDLE handle, std::function<void()> onSignal);
  void Unwatch(HANDLE handle);

  // For the message wait.
  std::vector<HANDLE> Handles() const;
  // Makes the call of every signalled handle; true when any was. A call may watch or unwatch.
  // A wait that ended on an auto-reset event has taken its signal: pass that handle as woken.
  bool ServeSignalled(HANDLE woken = nullptr);

 private:
  std::vector<std::pair<HANDLE, std::function<void()>>> waits_;
};

}  // namespace pw::win32
