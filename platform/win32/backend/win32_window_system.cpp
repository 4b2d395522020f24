#include "platform/win32/backend/win32_window_system.h"
#include "platform/win32/unique.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "platform/win32/backend/win32_handle_cast.h"
#include "platform/win32/backend/win32_text.h"

namespace pw::win32 {

namespace {

using win32::FromHwnd;
using win32::ToHwnd;

// Long enough for a busy window to answer, short enough that a hung one cannot stall the tray
// and the timers; a window that misses it is asked again without waiting.
constexpr UINT kAnswerWithinMs = 100;

// Both text calls leave an empty string behind when they copy nothing, as user32 does for a
// window it knows.
int CopyNothing(char* buffer, int maxCount) {
  if (buffer != nullptr && maxCount > 0) buffer[0] = '\0';
  return 0;
}

// Room for the longest text read here, a title of 1023 units. On the stack: the look between
// scan ticks reads the title in front 30 times a second.
constexpr int kTextUnits = 1024;

// Makes the wide call `read` into a buffer of its own and copies the text as UTF-8 into the
// caller's, cut short at a whole character. Allocates nothing.
template <class Read>
int ReadUtf8(Read read, char* buffer, int maxCount) {
  std::array<wchar_t, kTextUnits> wide;
  // As many UTF-16 units as bytes: UTF-8 never needs fewer bytes than UTF-16 has units.
  const int units = std::max(read(wide.data(), std::min(maxCount, kTextUnits)), 0);
  // At most three bytes a unit; a surrogate pair makes four.
  std::array<char, 3 * kTextUnits> utf8;
  const int bytes = units == 0
                        ? 0
                        : WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, utf8.data(),
                                              static_cast<int>(utf8.size()), nullptr, nullptr);
  int count = std::min(bytes, maxCount - 1);
  while (count > 0 && count < bytes &&
         (static_cast<unsigned char>(utf8[static_cast<std::size_t>(count)]) & 0xC0) == 0x80) {
    --count;
  }
  std::memcpy(buffer, utf8.data(), static_cast<std::size_t>(count));
  buffer[count] = '\0';
  return count;
}

// A null name stays null: it means "any".
std::wstring OrEmpty(const char* text) {
  return text == nullptr ? std::wstring() : win32::Wide(text);
}

}  // namespace

Hwnd Win32WindowSystem::FindWindowA(const char* className, const char* title) {
  const std::wstring wideClass = OrEmpty(className);
  const std::wstring wideTitle = OrEmpty(title);
  return FromHwnd(::FindWindowW(className == nullptr ? nullptr : wideClass.c_str(),
                                title == nullptr ? nullptr : wideTitle.c_str()));
}

Hwnd Win32WindowSystem::GetForegroundWindow() {
  return FromHwnd(::GetForegroundWindow());
}

bool Win32WindowSystem::IsWindowVisible(Hwnd window) {
  return window != 0 && ::IsWindowVisible(ToHwnd(window)) != FALSE;
}

int Win32WindowSystem::GetWindowTextA(Hwnd window, char* buffer, int maxCount) {
  if (window == 0 || buffer == nullptr || maxCount <= 0) return CopyNothing(buffer, maxCount);
  return ReadUtf8(
      [&](wchar_t* text, int units) { return ::GetWindowTextW(ToHwnd(window), text, units); },
      buffer, maxCount);
}

int Win32WindowSystem::GetClassNameA(Hwnd window, char* buffer, int maxCount) {
  if (window == 0 || buffer == nullptr || maxCount <= 0) return CopyNothing(buffer, maxCount);
  return ReadUtf8(
      [&](wchar_t* name, int units) { return ::GetClassNameW(ToHwnd(window), name, units); },
      buffer, maxCount);
}

namespace {

// Opens a process for asking about it; null when it refuses or is gone.
HANDLE OpenForQuery(DWORD id) {
  return OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
}

std::uint64_t StartTime(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (GetProcessTimes(process, &created, &exited, &kernel, &user) == FALSE) return 0;
  return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

ProcessKey Win32WindowSystem::ProcessOf(Hwnd window) {
  DWORD id = 0;
  if (window == 0 || GetWindowThreadProcessId(ToHwnd(window), &id) == 0 || id == 0) return {};
  const UniqueHandle process(OpenForQuery(id));
  if (!process) return {};
  const std::uint64_t started = StartTime(process.get());
  if (started == 0) return {};
  return {id, started};
}

std::string Win32WindowSystem::ProgramNameOf(const ProcessKey& key) {
  const UniqueHandle process(OpenForQuery(key.id));
  if (!process) return {};
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = static_cast<DWORD>(path.size());
  // Another process given the same number since runs another program, perhaps.
  const bool same = StartTime(process.get()) == key.started;
  const bool named =
      same && QueryFullProcessImageNameW(process.get(), 0, path.data(), &length) != FALSE;
  if (!named) return {};
  path.resize(length);
  const std::size_t slash = path.find_last_of(L"\\/");
  return win32::Utf8(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

struct Win32WindowSystem::HeldBack {
  Win32WindowSystem* owner;
  Hwnd window;
  bool enable;
};

bool Win32WindowSystem::Answers(Hwnd window) {
  const HWND handle = ToHwnd(window);
  const DWORD thread = window == 0 ? 0 : GetWindowThreadProcessId(handle, nullptr);
  // No window: every call on it fails at once. Our own windows answer while we run.
  if (thread == 0 || thread == GetCurrentThreadId()) return true;
  if (const auto asked = unanswered_.find(window); asked != unanswered_.end()) {
    if (asked->second == thread) return false;
    unanswered_.erase(asked);  // the handle now belongs to another window
  }
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(handle, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerWithinMs, &result) != 0) {
    return true;
  }
  // The answer to this question reaches our message loop whenever the window gets to it.
  if (SendMessageCallbackW(handle, WM_NULL, 0, 0, &Win32WindowSystem::OnAnswer,
                           reinterpret_cast<ULONG_PTR>(this)) != FALSE) {
    unanswered_[window] = thread;
  }
  return false;
}

void CALLBACK Win32WindowSystem::OnAnswer(HWND window, UINT, ULONG_PTR data, LRESULT) {
  reinterpret_cast<Win32WindowSystem*>(data)->unanswered_.erase(FromHwnd(window));
}

bool Win32WindowSystem::EnableWindow(Hwnd window, bool enable) {
  if (window == 0) return false;
  const HWND handle = ToHwnd(window);
  // EnableWindow sends WM_CANCELMODE and WM_ENABLE to the window and waits for its thread, so
  // on a window that does not answer it would hang us with it. Such a call is made when the
  // window answers a message sent now without waiting, which comes in order behind the calls
  // held back before it. No thread of our own is needed: the answer arrives in our message loop.
  if (heldBack_.count(window) == 0 && Answers(window)) {
    // user32 answers whether the window was disabled before, as the simulation does.
    return ::EnableWindow(handle, enable ? TRUE : FALSE) != FALSE;
  }
  auto* call = new HeldBack{this, window, enable};
  if (SendMessageCallbackW(handle, WM_NULL, 0, 0, &Win32WindowSystem::OnHeldBackAnswer,
                           reinterpret_cast<ULONG_PTR>(call)) == FALSE) {
    delete call;
    return false;
  }
  ++heldBack_[window];
  return false;
}

void CALLBACK Win32WindowSystem::OnHeldBackAnswer(HWND window, UINT, ULONG_PTR data, LRESULT) {
  const std::unique_ptr<HeldBack> call(reinterpret_cast<HeldBack*>(data));
  if (--call->owner->heldBack_[call->window] <= 0) call->owner->heldBack_.erase(call->window);
  // It answered just now, so this returns at once.
  ::EnableWindow(window, call->enable ? TRUE : FALSE);
}

bool Win32WindowSystem::ShowWindowAsync(Hwnd window, int command) {
  if (window == 0) return false;
  return ::ShowWindowAsync(ToHwnd(window), command) != FALSE;
}

bool Win32WindowSystem::PostMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  // user32 would post a message to the handle 0 to this thread's own queue.
  if (window == 0) return false;
  return ::PostMessageW(ToHwnd(window), message, static_cast<WPARAM>(wParam),
                        static_cast<LPARAM>(lParam)) != FALSE;
}

bool Win32WindowSystem::ClientToScreen(Hwnd window, Point& point) {
  if (window == 0) return false;
  POINT p{point.x, point.y};
  if (::ClientToScreen(ToHwnd(window), &p) == FALSE) return false;
  point = {static_cast<int>(p.x), static_cast<int>(p.y)};
  return true;
}

bool Win32WindowSystem::SetCursorPos(int x, int y) {
  return ::SetCursorPos(x, y) != FALSE;
}

bool Win32WindowSystem::ClipCursor(const Rect* rect) {
  if (rect == nullptr) return ::ClipCursor(nullptr) != FALSE;
  const RECT r{rect->left, rect->top, rect->right, rect->bottom};
  return ::ClipCursor(&r) != FALSE;
}

bool Win32WindowSystem::GetClipCursor(Rect& rect) {
  RECT r{};
  if (::GetClipCursor(&r) == FALSE) return false;
  rect = {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
          static_cast<int>(r.bottom)};
  return true;
}

bool Win32WindowSystem::GetWindowRect(Hwnd window, Rect& rect) {
  RECT r{};
  if (window == 0 || ::GetWindowRect(ToHwnd(window), &r) == FALSE) return false;
  rect = {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
          static_cast<int>(r.bottom)};
  return true;
}

bool Win32WindowSystem::SetWindowPos(Hwnd window, Hwnd insertAfter, int x, int y, int cx, int cy,
                                     std::uint32_t flags) {
  if (window == 0) return false;
  const HWND handle = ToHwnd(window);
  // Into the topmost layer without moving: nothing to do for a topmost window in front of all.
  constexpr UINT kKeepPlace = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
  if (insertAfter == HWND_TOPMOST_ && (flags & kKeepPlace) == kKeepPlace &&
      (GetWindowLongW(handle, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 &&
      GetTopWindow(nullptr) == handle) {
    return true;
  }
  return ::SetWindowPos(handle, ToHwnd(insertAfter), x, y, cx, cy, flags) != FALSE;
}

}  // namespace pw::win32
