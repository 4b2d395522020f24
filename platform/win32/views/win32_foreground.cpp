#include "platform/win32/views/win32_foreground.h"

namespace pw::win32 {

namespace {

// How long the foreground window's thread may take to answer before it counts as hung.
constexpr UINT kAnswerMs = 250;

}  // namespace

void TakeForeground(HWND window) {
  const HWND front = GetForegroundWindow();
  if (front == window) return;
  const DWORD self = GetCurrentThreadId();
  const DWORD frontThread = front != nullptr ? GetWindowThreadProcessId(front, nullptr) : 0;
  // Windows hands the foreground only to the program the user is working with, and the guard
  // works in the background, so SetForegroundWindow alone would leave the keyboard with the
  // window in front. Sharing that window's input state for the moment of activation is allowed;
  // its thread must answer first, because sharing input with a hung thread hangs us as well.
  bool shared = false;
  if (frontThread != 0 && frontThread != self) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(front, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs,
                            &answer) != 0) {
      shared = AttachThreadInput(self, frontThread, TRUE) != FALSE;
    }
  }
  BringWindowToTop(window);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  if (shared) AttachThreadInput(self, frontThread, FALSE);
}

bool InFront(HWND window) {
  for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == window) return true;
    if (IsWindowVisible(w) != FALSE) return false;
  }
  return false;
}

}  // namespace pw::win32
