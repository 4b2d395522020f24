#include "platform/sim/sim_desktop.h"

#include <algorithm>
#include <string_view>

#include "base/text.h"
#include "platform/win32_constants.h"

namespace pw::sim {

Hwnd SimDesktop::OpenWindow(const std::string& className, const std::string& title, int process) {
  const Hwnd handle = CreateWindow(className, title, 0, true);
  windows_[handle].process = process;
  BringToFront(handle);
  return handle;
}

int SimDesktop::StartProcess(const std::string& program, int id, bool opens) {
  if (id == 0) id = nextProcess_ += 4;
  // Start times only grow, so a reused id is told apart.
  processes_[id] = PlayedProcess{program, ++starts_, opens};
  return id;
}

void SimDesktop::EndProcess(int id) {
  std::vector<Hwnd> doomed;
  for (const auto& [handle, window] : windows_) {
    if (window.process == id) doomed.push_back(handle);
  }
  for (Hwnd handle : doomed) DestroyWindow(handle);
  processes_.erase(id);
}

const PlayedProcess* SimDesktop::FindProcess(int id) const {
  auto it = processes_.find(id);
  return it == processes_.end() ? nullptr : &it->second;
}

Hwnd SimDesktop::CreateWindow(const std::string& className, const std::string& title, int ownerPid,
                              bool visible) {
  const Hwnd handle = nextHandle_;
  nextHandle_ += 4;
  SimWindow window;
  window.handle = handle;
  window.className = className;
  window.title = title;
  window.ownerPid = ownerPid;
  window.visible = visible;
  window.bounds = {100, 100, 500, 400};
  const Point frame = screen.Frame(true, false);
  const Point offset = screen.ClientOffset(true, false);
  window.clientOrigin = {window.bounds.left + offset.x, window.bounds.top + offset.y};
  window.clientSize = {window.bounds.right - window.bounds.left - frame.x,
                       window.bounds.bottom - window.bounds.top - frame.y};
  byClass_[LowerAscii(className)].push_back(handle);
  windows_[handle] = std::move(window);
  zOrder_.insert(zOrder_.begin(), handle);
  KeepLayers();
  return handle;
}

void SimDesktop::DestroyWindow(Hwnd handle) {
  auto it = windows_.find(handle);
  if (it == windows_.end()) return;
  auto byClass = byClass_.find(LowerAscii(it->second.className));
  std::erase(byClass->second, handle);
  if (byClass->second.empty()) byClass_.erase(byClass);
  windows_.erase(it);
  std::erase(zOrder_, handle);
  if (foreground_ == handle) PickNewForeground();
}

void SimDesktop::DestroyWindowsOf(int ownerPid) {
  std::vector<Hwnd> doomed;
  for (const auto& [handle, window] : windows_) {
    if (window.ownerPid == ownerPid) doomed.push_back(handle);
  }
  for (Hwnd handle : doomed) DestroyWindow(handle);
}

SimWindow* SimDesktop::Find(Hwnd handle) {
  auto it = windows_.find(handle);
  return it == windows_.end() ? nullptr : &it->second;
}

const SimWindow* SimDesktop::Find(Hwnd handle) const {
  auto it = windows_.find(handle);
  return it == windows_.end() ? nullptr : &it->second;
}

std::vector<const SimWindow*> SimDesktop::Windows() const {
  std::vector<const SimWindow*> all;
  for (Hwnd handle : zOrder_) all.push_back(Find(handle));
  return all;
}

std::vector<const SimWindow*> SimDesktop::WindowsOf(int ownerPid) const {
  std::vector<const SimWindow*> owned;
  for (Hwnd handle : zOrder_) {
    const SimWindow* window = Find(handle);
    if (window->ownerPid == ownerPid) owned.push_back(window);
  }
  return owned;
}

Hwnd SimDesktop::FindWindow(const char* className, const char* title) const {
  const std::optional<std::string_view> text =
      title ? std::optional<std::string_view>(title) : std::nullopt;
  if (className != nullptr) {
    auto candidates = byClass_.find(LowerAscii(className));
    if (candidates == byClass_.end()) return 0;
    Hwnd best = 0;
    std::size_t bestDepth = zOrder_.size();
    for (Hwnd handle : candidates->second) {
      if (text && !EqualsIgnoreCaseAscii(Find(handle)->title, *text)) continue;
      if (candidates->second.size() == 1) return handle;
      const auto depth = static_cast<std::size_t>(
          std::find(zOrder_.begin(), zOrder_.end(), handle) - zOrder_.begin());
      if (depth < bestDepth) {
        best = handle;
        bestDepth = depth;
      }
    }
    return best;
  }
  for (Hwnd handle : zOrder_) {
    if (!text || EqualsIgnoreCaseAscii(windows_.find(handle)->second.title, *text)) return handle;
  }
  return 0;
}

void SimDesktop::BringToFront(Hwnd handle) {
  if (!Exists(handle)) return;
  std::erase(zOrder_, handle);
  zOrder_.insert(zOrder_.begin(), handle);
  KeepLayers();
  SetForeground(handle);
}

void SimDesktop::PlaceBehind(Hwnd handle, Hwnd after) {
  SimWindow* window = Find(handle);
  if (window == nullptr || handle == after) return;
  std::erase(zOrder_, handle);
  auto at = std::find(zOrder_.begin(), zOrder_.end(), after);
  // Behind a window of the other layer, it joins that layer.
  if (at != zOrder_.end()) window->topmost = Find(after)->topmost;
  zOrder_.insert(at == zOrder_.end() ? zOrder_.begin() : at + 1, handle);
  KeepLayers();
}

void SimDesktop::KeepLayers() {
  std::stable_partition(zOrder_.begin(), zOrder_.end(),
                        [this](Hwnd handle) { return Find(handle)->topmost; });
}

void SimDesktop::SetBounds(Hwnd handle, const Rect& bounds) {
  SimWindow* window = Find(handle);
  if (window == nullptr) return;
  const Rect& old = window->bounds;
  window->clientOrigin.x += bounds.left - old.left;
  window->clientOrigin.y += bounds.top - old.top;
  window->clientSize.x += (bounds.right - bounds.left) - (old.right - old.left);
  window->clientSize.y += (bounds.bottom - bounds.top) - (old.bottom - old.top);
  window->bounds = bounds;
}

void SimDesktop::SetVisible(Hwnd handle, bool visible, bool activate) {
  SimWindow* window = Find(handle);
  if (window == nullptr) return;
  window->visible = visible;
  if (visible && !activate) {
    PlaceBehind(handle, 0);
  } else if (visible) {
    BringToFront(handle);
  } else if (foreground_ == handle) {
    PickNewForeground();
  }
}

void SimDesktop::SetTitle(Hwnd handle, const std::string& title) {
  SimWindow* window = Find(handle);
  if (window == nullptr || window->title == title) return;
  window->title = title;
  Report(handle, true);
}

void SimDesktop::PickNewForeground() {
  for (Hwnd handle : zOrder_) {
    if (Find(handle)->visible) {
      SetForeground(handle);
      return;
    }
  }
  SetForeground(0);
}

void SimDesktop::SetForeground(Hwnd handle) {
  if (foreground_ == handle) return;
  foreground_ = handle;
  Report(handle, false);
}

int SimDesktop::Watch(int pid, std::function<void(bool title)> heard) {
  watchers_.push_back({nextWatch_, pid, std::move(heard)});
  return nextWatch_++;
}

void SimDesktop::Unwatch(int id) {
  std::erase_if(watchers_, [id](const Watcher& w) { return w.id == id; });
}

void SimDesktop::Report(Hwnd changed, bool title) {
  if (!reportsChanges || (title && !reportsTitles)) return;
  const SimWindow* window = Find(changed);
  const int owner = window != nullptr ? window->ownerPid : -1;
  for (const Watcher& watcher : watchers_) {
    if (watcher.pid != owner) watcher.heard(title);
  }
}

bool SimDesktop::Post(Hwnd handle, std::uint32_t message, std::uintptr_t wParam,
                      std::intptr_t lParam) {
  SimWindow* window = Find(handle);
  if (window == nullptr) return false;
  const PostedMessage posted{message, wParam, lParam, clock_()};
  window->messages.push_back(posted);
  if (window->deliver) {
    window->deliver(posted);
  } else if (message == WM_CLOSE_ && !window->refusesClose) {
    DestroyWindow(handle);
  }
  return true;
}

void SimDesktop::Broadcast(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  // A window may go while the message is handed round.
  const std::vector<Hwnd> all = zOrder_;
  for (Hwnd handle : all) Post(handle, message, wParam, lParam);
}

std::uint32_t SimDesktop::RegisterMessage(const std::string& name) {
  // Registered messages are numbered from 0xC000 up.
  const auto [it, added] = registered_.try_emplace(
      LowerAscii(name), static_cast<std::uint32_t>(0xC000 + registered_.size()));
  (void)added;
  return it->second;
}

bool SimDesktop::PressKey(const KeyPress& key) {
  if (switchKeyHolders > 0 && SwitchesAway(key)) return false;
  const bool switches = key.alt && (key.virtualKey == VK_TAB_ || key.virtualKey == VK_ESCAPE_);
  if (!switches) return true;
  for (Hwnd handle : zOrder_) {
    if (handle != foreground_ && Find(handle)->visible) {
      BringToFront(handle);
      break;
    }
  }
  return true;
}

void SimDesktop::MoveCursor(Point to) {
  if (clip) {
    to.x = std::clamp(to.x, clip->left, std::max(clip->left, clip->right - 1));
    to.y = std::clamp(to.y, clip->top, std::max(clip->top, clip->bottom - 1));
  }
  to.x = std::clamp(to.x, 0, screen.width - 1);
  to.y = std::clamp(to.y, 0, screen.height - 1);
  cursor = to;
}

void SimDesktop::Clip(const Rect* rect) {
  if (rect == nullptr) {
    clip.reset();
    return;
  }
  Rect r = *rect;
  r.left = std::clamp(r.left, 0, screen.width);
  r.top = std::clamp(r.top, 0, screen.height);
  r.right = std::clamp(r.right, r.left, screen.width);
  r.bottom = std::clamp(r.bottom, r.top, screen.height);
  clip = r;
  MoveCursor(cursor);
}

}  // namespace pw::sim
