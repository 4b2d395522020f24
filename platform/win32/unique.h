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

// Owns one handle and frees it with Free unless it is Empty; moves, never copies.
template <class Handle, auto Free, auto Empty = nullptr>
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
    if (old != Handle(Empty)) Free(old);
  }

 private:
  Handle handle_ = Handle(Empty);
};

// The one release call that takes more than the handle.
inline void CloseAlgorithm(BCRYPT_ALG_HANDLE algorithm) {
  BCryptCloseAlgorithmProvider(algorithm, 0);
}

// Kernel objects: processes, threads, events, tokens, snapshots.
using UniqueHandle = Unique<HANDLE, &CloseHandle>;
// Files and pipes, which CreateFile and CreateNamedPipe give as INVALID_HANDLE_VALUE on failure.
using UniqueFile = Unique<HANDLE, &CloseHandle, LONG_PTR{-1}>;
using UniqueKey = Unique<HKEY, &RegCloseKey>;
using UniqueService = Unique<SC_HANDLE, &CloseServiceHandle>;
using UniqueHook = Unique<HHOOK, &UnhookWindowsHookEx>;
using UniqueWinEventHook = Unique<HWINEVENTHOOK, &UnhookWinEvent>;
using UniqueEventSource = Unique<HANDLE, &DeregisterEventSource>;
template <class T>
using UniqueLocal = Unique<T*, &LocalFree>;
using UniqueAlgorithm = Unique<BCRYPT_ALG_HANDLE, &CloseAlgorithm>;
using UniqueWindow = Unique<HWND, &DestroyWindow>;
using UniqueMenu = Unique<HMENU, &DestroyMenu>;
using UniqueIcon = Unique<HICON, &DestroyIcon>;
using UniqueBrush = Unique<HBRUSH, &DeleteObject>;
using UniqueFont = Unique<HFONT, &DeleteObject>;
using UniqueBitmap = Unique<HBITMAP, &DeleteObject>;
using UniqueImageList = Unique<HIMAGELIST, &ImageList_Destroy>;

}  // namespace pw::win32
