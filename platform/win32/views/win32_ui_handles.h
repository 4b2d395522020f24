#pragma once

// The one place the views include the Windows headers, so the macros below hold everywhere.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The common controls need windows.h first.
#include <commctrl.h>

#include <stdexcept>
#include <string>

#include "platform/win32/backend/win32_failures.h"

namespace pw::winui {

// Owns one Win32 handle and frees it with Deleter; moves, never copies.
template <class Handle, class Deleter>
class Unique {
 public:
  Unique() = default;
  explicit Unique(Handle handle) : handle_(handle) {}
  ~Unique() { reset(); }
  Unique(Unique&& other) noexcept : handle_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle release() {
    Handle handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void reset(Handle handle = nullptr) {
    Handle old = handle_;
    handle_ = handle;
    if (old != nullptr) Deleter{}(old);
  }

 private:
  Handle handle_ = nullptr;
};

struct WindowDeleter {
  void operator()(HWND window) const { DestroyWindow(window); }
};
struct MenuDeleter {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct GdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct ImageListDeleter {
  void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};

using UniqueWindow = Unique<HWND, WindowDeleter>;
using UniqueMenu = Unique<HMENU, MenuDeleter>;
using UniqueIcon = Unique<HICON, IconDeleter>;
using UniqueBrush = Unique<HBRUSH, GdiDeleter>;
using UniqueFont = Unique<HFONT, GdiDeleter>;
using UniqueBitmap = Unique<HBITMAP, GdiDeleter>;
using UniqueImageList = Unique<HIMAGELIST, ImageListDeleter>;

// A failed call the program cannot go on without: the message carries the system's error code
// and its text.
[[noreturn]] inline void ThrowLastError(const std::string& what) {
  const DWORD error = GetLastError();
  throw std::runtime_error(what + " failed, error " + std::to_string(error) + ": " +
                           win32::ErrorText(error));
}

}  // namespace pw::winui
