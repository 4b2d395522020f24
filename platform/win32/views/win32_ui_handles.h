#pragma once

// The views take the Windows headers from here, so the same macros hold everywhere.
#include "platform/win32/unique.h"

#include <stdexcept>
#include <string>

#include "platform/win32/backend/win32_failures.h"

namespace pw::win32 {

using win32::UniqueBitmap;
using win32::UniqueBrush;
using win32::UniqueFont;
using win32::UniqueIcon;
using win32::UniqueImageList;
using win32::UniqueMenu;
using win32::UniqueWindow;

// A failed call the program cannot go on without: the message carries the system's error code
// and its text.
[[noreturn]] inline void ThrowLastError(const std::string& what) {
  const DWORD error = GetLastError();
  throw std::runtime_error(what + " failed, error " + std::to_string(error) + ": " +
                           win32::ErrorText(error));
}

}  // namespace pw::win32
