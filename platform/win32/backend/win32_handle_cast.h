#pragma once

// Conversions between the platform's plain handle numbers and the Windows handle types.
#include <windows.h>

#include "platform/registry_api.h"
#include "platform/types.h"

namespace pw::win32 {

// Window handles are 32-bit significant in 64-bit processes too; a 32-bit value widens by sign
// extension, as Windows does between 32-bit and 64-bit processes, so HWND_TOPMOST (-1) and
// HWND_NOTOPMOST (-2) keep their meaning.
inline HWND ToHwnd(Hwnd window) {
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(window)));
}

inline Hwnd FromHwnd(HWND window) {
  return static_cast<Hwnd>(reinterpret_cast<ULONG_PTR>(window));
}

// The predefined roots (HKEY_CLASSES_ROOT 0x80000000 up to the performance keys) are
// sign-extended 32-bit constants; other keys are handles the registry gave us, kept whole.
inline HKEY ToHkey(RegKey key) {
  const auto low = static_cast<std::uint32_t>(key & 0xFFFFFFFFu);
  const bool predefined = low >= 0x80000000u && low <= 0x800000FFu;
  const bool highClear = static_cast<std::uint64_t>(key) == low;
  const bool highSet = (static_cast<std::uint64_t>(key) >> 32) == 0xFFFFFFFFu;
  if (predefined && (highClear || highSet)) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(low)));
  }
  return reinterpret_cast<HKEY>(key);
}

inline RegKey FromHkey(HKEY key) {
  return reinterpret_cast<RegKey>(key);
}

}  // namespace pw::win32
