#pragma once

#include "platform/win32_constants.h"

namespace pw {

// A key as a keyboard hook sees it, with the modifiers held at the time.
struct KeyPress {
  unsigned virtualKey = 0;
  bool alt = false;
  bool ctrl = false;
};

// The keys that take the user from the window in front to another one without a mouse: Alt+Tab,
// Alt+Esc, Ctrl+Esc (Ctrl+Shift+Esc too) and either Windows key. Ctrl+Alt+Del never reaches a
// program.
constexpr bool SwitchesAway(const KeyPress& key) {
  switch (key.virtualKey) {
    case VK_TAB_:
      return key.alt;
    case VK_ESCAPE_:
      return key.alt || key.ctrl;
    case VK_LWIN_:
    case VK_RWIN_:
      return true;
    default:
      return false;
  }
}

class Input {
 public:
  virtual ~Input() = default;

  // One Down-arrow keystroke to the active window; returns once it has been processed.
  virtual void SendDownArrowAndWait() = 0;
  virtual void Beep() = 0;
  // While held, the keys that switch away (SwitchesAway) do nothing anywhere on the desktop and
  // every other key passes. Holding twice holds once.
  virtual void HoldSwitchKeys(bool hold) = 0;
};

}  // namespace pw
