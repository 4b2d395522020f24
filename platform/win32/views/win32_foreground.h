#pragma once

#include "platform/win32/views/win32_ui_handles.h"

namespace pw::win32 {

// Makes the window the active foreground window, also while another program's window is in
// front, so that what the user types reaches it.
void TakeForeground(HWND window);

// Whether the window is the first visible one on the screen: raising it would change nothing.
bool InFront(HWND window);

}  // namespace pw::win32
