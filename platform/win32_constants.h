#pragma once

// The Windows values the program passes through the platform interfaces, spelled without
// windows.h so that the windows and the simulation compile anywhere. Each name is the Windows
// name with a trailing underscore; the Windows build checks them against the real headers.
#include <cstdint>

#include "platform/types.h"

namespace pw {

// Window messages.
inline constexpr std::uint32_t WM_CLOSE_ = 0x0010;
inline constexpr std::uint32_t WM_QUERYENDSESSION_ = 0x0011;
inline constexpr std::uint32_t WM_ENDSESSION_ = 0x0016;
inline constexpr std::uint32_t WM_MOUSEMOVE_ = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK_ = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONUP_ = 0x0205;
inline constexpr std::int64_t ENDSESSION_CLOSEAPP_ = 0x1;

// Showing and placing windows.
inline constexpr int SW_SHOWNOACTIVATE_ = 4;
inline constexpr int SW_RESTORE_ = 9;
inline constexpr Hwnd HWND_TOPMOST_ = 0xFFFFFFFFu;  // (HWND)-1
inline constexpr std::uint32_t SWP_NOSIZE_NOMOVE_NOACTIVATE = 0x13;
inline constexpr std::uint32_t SWP_NOSIZE_ = 0x1;
inline constexpr std::uint32_t SWP_NOMOVE_ = 0x2;
inline constexpr std::uint32_t SWP_NOZORDER_ = 0x4;
inline constexpr std::uint32_t SWP_NOACTIVATE_ = 0x10;

// Keys.
inline constexpr unsigned VK_TAB_ = 0x09;
inline constexpr unsigned VK_ESCAPE_ = 0x1B;
inline constexpr unsigned VK_LWIN_ = 0x5B;
inline constexpr unsigned VK_RWIN_ = 0x5C;

// The notification-area icon.
inline constexpr std::uint32_t NIM_ADD_ = 0;
inline constexpr std::uint32_t NIM_DELETE_ = 2;
inline constexpr std::uint32_t NIF_MESSAGE_ = 1;
inline constexpr std::uint32_t NIF_ICON_ = 2;
inline constexpr std::uint32_t NIF_TIP_ = 4;

// The registry.
inline constexpr RegKey HKEY_LOCAL_MACHINE_ = 0x80000002u;

inline constexpr long ERROR_SUCCESS_ = 0;
inline constexpr long ERROR_FILE_NOT_FOUND_ = 2;
inline constexpr long ERROR_ACCESS_DENIED_ = 5;
inline constexpr long ERROR_INVALID_HANDLE_ = 6;
inline constexpr long ERROR_MORE_DATA_ = 234;

inline constexpr std::uint32_t REG_NONE_ = 0;
inline constexpr std::uint32_t REG_SZ_ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ_ = 2;
inline constexpr std::uint32_t REG_BINARY_ = 3;
inline constexpr std::uint32_t REG_DWORD_ = 4;
inline constexpr std::uint32_t REG_DWORD_BIG_ENDIAN_ = 5;
inline constexpr std::uint32_t REG_MULTI_SZ_ = 7;

inline constexpr std::uint32_t KEY_READ_ = 0x20019;
inline constexpr std::uint32_t KEY_WRITE_ = 0x20006;
inline constexpr std::uint32_t KEY_NOTIFY_ = 0x0010;

inline constexpr std::uint32_t REG_CREATED_NEW_KEY_ = 1;
inline constexpr std::uint32_t REG_OPENED_EXISTING_KEY_ = 2;

}  // namespace pw
