#pragma once

#include <windows.h>

#include "platform/win32/unique.h"
#include "service/authority.h"

namespace pw::service {

using win32::UniqueHandle;

// The service's side of the owner's pipe, and the watch on the settings key that takes in
// plain-text passwords. Both are served from the service's one wait: Events() are added to it,
// and Serve runs when one of them is signalled. Each client is served alone, every step of it
// bounded in time, so a client that stalls delays others by seconds at most and never the
// watchdog's handling of a guard's end, which the wait puts first.
class OwnerPipe {
 public:
  explicit OwnerPipe(Authority& authority);
  ~OwnerPipe();
  OwnerPipe(const OwnerPipe&) = delete;
  OwnerPipe& operator=(const OwnerPipe&) = delete;

  // Creates the pipe first (nobody can take its name after that), protects the vault, takes in
  // plain text and starts watching. False when the pipe could not be created: someone holds
  // the name, and the guards refuse every answer.
  bool Open();
  // The events to wait on: a client connected, the settings key changed.
  HANDLE Connected() const { return connected_.get(); }
  HANDLE SettingsChanged() const { return settingsChanged_.get(); }
  void ServeClient();
  void TakeInChanges();

 private:
  bool Listen();
  void TakeIn();
  bool WatchSettings();

  Authority& authority_;
  UniqueHandle pipe_;
  UniqueHandle connected_;
  UniqueHandle settingsChanged_;
  win32::UniqueKey settings_;
  OVERLAPPED listening_{};
};

}  // namespace pw::service
