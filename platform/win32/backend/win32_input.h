#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/input.h"
#include "platform/win32/unique.h"

namespace pw::win32 {

// The program's one message pump, as the keystroke wait needs it.
class MessagePump {
 public:
  virtual ~MessagePump() = default;

  // One pass of the program's event loop: dispatches what is pending with the forms' keyboard
  // handling and fires due timers; with nothing pending it sleeps until input arrives, a timer
  // is due or the tick count reaches wakeBy.
  virtual void PumpOnce(std::uint64_t wakeBy) = 0;
  // How many releases of the virtual key this pump has dispatched so far.
  virtual std::uint64_t KeyReleases(unsigned virtualKey) const = 0;
};

// Keystrokes through SendInput, the standard beep, and a low-level keyboard hook that holds the
// keys switching away.
class Win32Input : public Input {
 public:
  explicit Win32Input(MessagePump& pump) : pump_(pump) {}
  ~Win32Input() override;
  Win32Input(const Win32Input&) = delete;
  Win32Input& operator=(const Win32Input&) = delete;

  // "Processed" can only be observed for this thread's own windows: when one of them is in the
  // foreground, the program's pump runs until it has dispatched the key's release, or until a
  // second has passed (a hook or the system may swallow injected keys). When another program's
  // window is in the foreground, its queue is out of sight, so this returns once the keys were
  // handed over.
  //
  // A message posted to ourselves after the keys would not mark their end: injected keys reach
  // the queue later than SendInput returns, and posted messages are taken before input anyway.
  void SendDownArrowAndWait() override;
  void Beep() override;
  // The hook runs on this thread, from inside its message pump, so it is set only while the
  // program pumps (a prompt waits). Windows drops a hook that answers slower than
  // LowLevelHooksTimeout, so its callback only looks at the key.
  void HoldSwitchKeys(bool hold) override;
  bool SwitchKeysHeld() const { return static_cast<bool>(hook_); }

 private:
  MessagePump& pump_;
  win32::UniqueHook hook_;
};

}  // namespace pw::win32
