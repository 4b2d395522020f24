// The core's copies of the Windows values, checked against the real headers: a wrong copy
// stops the Windows build here instead of misbehaving on a user's machine.
#include <windows.h>
// The shell's header needs windows.h first.
#include <shellapi.h>

#include "platform/win32_constants.h"

namespace pw::win32 {

static_assert(WM_CLOSE_ == WM_CLOSE);
static_assert(WM_QUERYENDSESSION_ == WM_QUERYENDSESSION);
static_assert(WM_ENDSESSION_ == WM_ENDSESSION);
static_assert(WM_MOUSEMOVE_ == WM_MOUSEMOVE);
static_assert(WM_LBUTTONDBLCLK_ == WM_LBUTTONDBLCLK);
static_assert(WM_RBUTTONUP_ == WM_RBUTTONUP);
static_assert(ENDSESSION_CLOSEAPP_ == ENDSESSION_CLOSEAPP);

static_assert(SW_SHOWNOACTIVATE_ == SW_SHOWNOACTIVATE);
static_assert(SW_RESTORE_ == SW_RESTORE);
// HWND_TOPMOST and HKEY_LOCAL_MACHINE are casts, not constants; the handle conversions in
// win32_handle_cast.h give them their meaning.
static_assert(SWP_NOSIZE_NOMOVE_NOACTIVATE == (SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE));
static_assert(SWP_NOSIZE_ == SWP_NOSIZE);
static_assert(SWP_NOMOVE_ == SWP_NOMOVE);
static_assert(SWP_NOZORDER_ == SWP_NOZORDER);
static_assert(SWP_NOACTIVATE_ == SWP_NOACTIVATE);

static_assert(VK_TAB_ == VK_TAB);
static_assert(VK_ESCAPE_ == VK_ESCAPE);
static_assert(VK_LWIN_ == VK_LWIN);
static_assert(VK_RWIN_ == VK_RWIN);

static_assert(NIM_ADD_ == NIM_ADD);
static_assert(NIM_DELETE_ == NIM_DELETE);
static_assert(NIF_MESSAGE_ == NIF_MESSAGE);
static_assert(NIF_ICON_ == NIF_ICON);
static_assert(NIF_TIP_ == NIF_TIP);

static_assert(ERROR_SUCCESS_ == ERROR_SUCCESS);
static_assert(ERROR_FILE_NOT_FOUND_ == ERROR_FILE_NOT_FOUND);
static_assert(ERROR_ACCESS_DENIED_ == ERROR_ACCESS_DENIED);
static_assert(ERROR_INVALID_HANDLE_ == ERROR_INVALID_HANDLE);
static_assert(ERROR_MORE_DATA_ == ERROR_MORE_DATA);

static_assert(REG_NONE_ == REG_NONE);
static_assert(REG_SZ_ == REG_SZ);
static_assert(REG_EXPAND_SZ_ == REG_EXPAND_SZ);
static_assert(REG_BINARY_ == REG_BINARY);
static_assert(REG_DWORD_ == REG_DWORD);
static_assert(REG_DWORD_BIG_ENDIAN_ == REG_DWORD_BIG_ENDIAN);
static_assert(REG_MULTI_SZ_ == REG_MULTI_SZ);
static_assert(KEY_READ_ == KEY_READ);
static_assert(KEY_WRITE_ == KEY_WRITE);
static_assert(KEY_NOTIFY_ == KEY_NOTIFY);
static_assert(REG_CREATED_NEW_KEY_ == REG_CREATED_NEW_KEY);
static_assert(REG_OPENED_EXISTING_KEY_ == REG_OPENED_EXISTING_KEY);

}  // namespace pw::win32
