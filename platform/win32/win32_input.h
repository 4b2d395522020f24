#pragma once

#include "platform/input.h"

struct tagMSG;

namespace pw {

// Keystrokes through SendInput, and the standard beep.
class Win32Input : public Input {
 public:
  // Sees each message this class dispatches first and returns true when it has handled it (the
  // forms' keyboard handling), so that messages taken from the queue here are treated as the
  // event loop would treat them.
  using MessageFilter = bool (*)(tagMSG& message);

  explicit Win32Input(MessageFilter filter = nullptr) : filter_(filter) {}

  // "Processed" can only be observed for this thread's own windows: when one of them is in the
  // foreground, this thread's messages are dispatched until the key's release has been, or
  // until a second has passed (a hook or the system may swallow injected keys). The wait
  // blocks in the system's message wait, it never spins. When another program's window is in
  // the foreground, its queue is out of sight, so this returns once the keys were handed over.
  //
  // A message posted to ourselves after the keys would not mark their end: injected keys reach
  // the queue later than SendInput returns, and posted messages are taken before input anyway.
  void SendDownArrowAndWait() override;
  void Beep() override;

 private:
  MessageFilter filter_;
};

}  // namespace pw
