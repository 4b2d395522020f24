#include "platform/sim/sim_window_system.h"

#include <algorithm>
#include <cstring>

namespace pw::sim {

namespace {

int CopyText(const std::string& text, char* buffer, int maxCount) {
  if (buffer == nullptr || maxCount <= 0) return 0;
  int count = std::min(static_cast<int>(text.size()), maxCount - 1);
  // A cut never splits a character.
  while (count > 0 && count < static_cast<int>(text.size()) &&
         (static_cast<unsigned char>(text[static_cast<std::size_t>(count)]) & 0xC0) == 0x80) {
    --count;
  }
  std::memcpy(buffer, text.data(), static_cast<std::size_t>(count));
  buffer[count] = '\0';
  return count;
}

}  // namespace

Hwnd SimWindowSystem::FindWindowA(const char* className, const char* title) {
  return desktop_.FindWindow(className, title);
}

Hwnd SimWindowSystem::GetForegroundWindow() {
  return desktop_.Foreground();
}

bool SimWindowSystem::IsWindowVisible(Hwnd window) {
  const SimWindow* w = desktop_.Find(window);
  return w != nullptr && w->visible;
}

int SimWindowSystem::GetWindowTextA(Hwnd window, char* buffer, int maxCount) {
  const SimWindow* w = desktop_.Find(window);
  if (w == nullptr) {
    if (buffer != nullptr && maxCount > 0) buffer[0] = '\0';
    return 0;
  }
  return CopyText(w->title, buffer, maxCount);
}

int SimWindowSystem::GetClassNameA(Hwnd window, char* buffer, int maxCount) {
  const SimWindow* w = desktop_.Find(window);
  if (w == nullptr) return 0;
  return CopyText(w->className, buffer, maxCount);
}

ProcessKey SimWindowSystem::ProcessOf(Hwnd window) {
  const SimWindow* w = desktop_.Find(window);
  const PlayedProcess* process = w == nullptr ? nullptr : desktop_.FindProcess(w->process);
  if (process == nullptr || !process->opens) return {};
  return {static_cast<std::uint32_t>(w->process), process->started};
}

std::string SimWindowSystem::ProgramNameOf(const ProcessKey& key) {
  ++desktop_.programLookups;
  const PlayedProcess* process = desktop_.FindProcess(static_cast<int>(key.id));
  if (process == nullptr || !process->opens || process->started != key.started) return {};
  return process->program;
}

bool SimWindowSystem::Answers(Hwnd window) {
  const SimWindow* w = desktop_.Find(window);
  return w == nullptr || !w->hung;
}

bool SimWindowSystem::EnableWindow(Hwnd window, bool enable) {
  SimWindow* w = desktop_.Find(window);
  if (w == nullptr) return false;
  // Windows would make the caller wait until the window answers again.
  if (w->hung) ++w->waitedOn;
  const bool wasDisabled = !w->enabled;
  w->enabled = enable;
  return wasDisabled;
}

bool SimWindowSystem::ShowWindowAsync(Hwnd window, int command) {
  SimWindow* w = desktop_.Find(window);
  if (w == nullptr) return false;
  w->showCommands.push_back(command);
  return true;
}

bool SimWindowSystem::PostMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
  return desktop_.Post(window, message, wParam, lParam);
}

bool SimWindowSystem::ClientToScreen(Hwnd window, Point& point) {
  const SimWindow* w = desktop_.Find(window);
  if (w == nullptr) return false;
  point.x += w->clientOrigin.x;
  point.y += w->clientOrigin.y;
  return true;
}

bool SimWindowSystem::SetCursorPos(int x, int y) {
  desktop_.MoveCursor({x, y});
  return true;
}

bool SimWindowSystem::ClipCursor(const Rect* rect) {
  ++desktop_.clipCalls;
  desktop_.Clip(rect);
  return true;
}

bool SimWindowSystem::GetClipCursor(Rect& rect) {
  rect = desktop_.clip.value_or(Rect{0, 0, desktop_.screen.width, desktop_.screen.height});
  return true;
}

bool SimWindowSystem::GetWindowRect(Hwnd window, Rect& rect) {
  const SimWindow* w = desktop_.Find(window);
  if (w == nullptr) return false;
  rect = w->bounds;
  return true;
}

bool SimWindowSystem::SetWindowPos(Hwnd window, Hwnd insertAfter, int x, int y, int cx, int cy,
                                   std::uint32_t flags) {
  SimWindow* w = desktop_.Find(window);
  if (w == nullptr) return false;
  Rect r = w->bounds;
  if ((flags & SWP_NOMOVE_) == 0) r = {x, y, x + r.right - r.left, y + r.bottom - r.top};
  if ((flags & SWP_NOSIZE_) == 0) r = {r.left, r.top, r.left + cx, r.top + cy};
  desktop_.SetBounds(window, r);
  if ((flags & SWP_NOZORDER_) == 0) {
    if (insertAfter == HWND_TOPMOST_) w->topmost = true;
    desktop_.PlaceBehind(window, insertAfter == HWND_TOPMOST_ ? 0 : insertAfter);
  }
  return true;
}

}  // namespace pw::sim
