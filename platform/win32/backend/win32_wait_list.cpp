#include "platform/win32/backend/win32_wait_list.h"

#include <algorithm>

namespace pw::win32 {

namespace {

// The message wait takes this many objects besides the message queue.
constexpr std::size_t kMostWaits = MAXIMUM_WAIT_OBJECTS - 1;

}  // namespace

bool Win32WaitList::Watch(HANDLE handle, std::function<void()> onSignal) {
  Unwatch(handle);
  if (handle == nullptr || waits_.size() >= kMostWaits) return false;
  waits_.emplace_back(handle, std::move(onSignal));
  return true;
}

void Win32WaitList::Unwatch(HANDLE handle) {
  std::erase_if(waits_, [handle](const auto& wait) { return wait.first == handle; });
}

std::vector<HANDLE> Win32WaitList::Handles() const {
  std::vector<HANDLE> handles;
  for (const auto& [handle, call] : waits_) handles.push_back(handle);
  return handles;
}

bool Win32WaitList::ServeSignalled(HANDLE woken) {
  bool any = false;
  // A copy: the calls may change the list, their own entry included.
  const auto waits = waits_;
  for (const auto& [handle, call] : waits) {
    const bool stillWatched = std::any_of(waits_.begin(), waits_.end(),
                                          [h = handle](const auto& w) { return w.first == h; });
    // Testing an auto-reset event takes its signal, so the one the wait ended on is not tested
    // again: it would read as unsignalled and its notice would be lost.
    if (!stillWatched) continue;
    if (handle != woken && WaitForSingleObject(handle, 0) != WAIT_OBJECT_0) continue;
    any = true;
    call();
  }
  return any;
}

}  // namespace pw::win32
