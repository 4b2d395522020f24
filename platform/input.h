#pragma once

namespace pw {

class Input {
 public:
  virtual ~Input() = default;

  // One Down-arrow keystroke to the active window; returns once it has been processed.
  virtual void SendDownArrowAndWait() = 0;
  virtual void Beep() = 0;
};

}  // namespace pw
