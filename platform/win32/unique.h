#pragma once

// The one way the program owns what Windows hands out: kernel handles, registry keys, service
// handles, hooks, windows, menus, icons, GDI objects, image lists, event sources, memory from
// LocalAlloc and the cryptography provider. Each is freed by its own call when its owner goes.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The common controls and the cryptography need windows.h first.
#include <bcrypt.h>
#include <commctrl.h>

namespace pw::win32 {

// Owns one handle and frees it with Deleter unless it is Empty; moves, never copies.
template <class Handle, class Deleter, auto Empty = nullptr>
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
  explicit operator bool() const { return handle_ != Handle(Empty); }
  Handle release() {
    Handle handle = handle_;
    handle_ = Handle(Empty);
    return handle;
  }
  void reset(Handle handle = Handle(Empty)) {
    Handle old = handle_;
    handle_ = handle;
    if (old != Handle(Empty)) Deleter{}(old);
  }

 private:
  Handle handle_ = Handle(Empty);
};

struct HandleDeleter {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct KeyDeleter {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
struct ServiceDeleter {
  void operator()(SC_HANDLE handle) const { CloseServiceHandle(handle); }
};
struct HookDeleter {
  void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};
struct WinEventHookDeleter {
  void operator()(HWINEVENTHOOK hook) const { UnhookWinEvent(hook); }
};
struct EventSourceDeleter {
  void operator()(HANDLE source) const { DeregisterEventSource(source); }
};
struct LocalDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};
struct AlgorithmDeleter {
  void operator()(BCRYPT_ALG_HANDLE algorithm) const { BCryptCloseAlgorithmProvider(algorithm, 0); }
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

// Kernel objects: processes, threads, events, tokens, snapshots.
using UniqueHandle = Unique<HANDLE, HandleDeleter>;
// Files and pipes, which CreateFile and CreateNamedPipe give as INVALID_HANDLE_VALUE on failure.
using UniqueFile = Unique<HANDLE, HandleDeleter, LONG_PTR{-1}>;
using UniqueKey = Unique<HKEY, KeyDeleter>;
using UniqueService = Unique<SC_HANDLE, ServiceDeleter>;
using UniqueHook = Unique<HHOOK, HookDeleter>;
using UniqueWinEventHook = Unique<HWINEVENTHOOK, WinEventHookDeleter>;
using UniqueEventSource = Unique<HANDLE, EventSourceDeleter>;
template <class T>
using UniqueLocal = Unique<T*, LocalDeleter>;
using UniqueAlgorithm = Unique<BCRYPT_ALG_HANDLE, AlgorithmDeleter>;
using UniqueWindow = Unique<HWND, WindowDeleter>;
using UniqueMenu = Unique<HMENU, MenuDeleter>;
using UniqueIcon = Unique<HICON, IconDeleter>;
using UniqueBrush = Unique<HBRUSH, GdiDeleter>;
using UniqueFont = Unique<HFONT, GdiDeleter>;
using UniqueBitmap = Unique<HBITMAP, GdiDeleter>;
using UniqueImageList = Unique<HIMAGELIST, ImageListDeleter>;

}  // namespace pw::win32
