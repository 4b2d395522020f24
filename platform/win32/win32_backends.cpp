#include "platform/win32/win32_backends.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <cstring>

namespace pw {

namespace {

HKEY ToHkey(RegKey key) {
  // Predefined roots are sign-extended 32-bit constants in a 64-bit process.
  if (key >= 0x80000000u && key <= 0x800000FFu) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(key)));
  }
  return reinterpret_cast<HKEY>(key);
}

RegKey FromHkey(HKEY key) {
  return reinterpret_cast<RegKey>(key);
}

HWND ToHwnd(Hwnd window) {
  return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(window));
}

Hwnd FromHwnd(HWND window) {
  // Window handles are 32-bit significant, in 64-bit processes too.
  return static_cast<Hwnd>(reinterpret_cast<ULONG_PTR>(window));
}

constexpr REGSAM k32BitView = KEY_WOW64_32KEY;

}  // namespace

long Win32Registry::RegOpenKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                                  std::uint32_t access, RegKey& result) {
  HKEY key = nullptr;
  const LONG status =
      ::RegOpenKeyExA(ToHkey(root), path.c_str(), options, access | k32BitView, &key);
  result = status == ERROR_SUCCESS ? FromHkey(key) : 0;
  return status;
}

long Win32Registry::RegCreateKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                                    std::uint32_t access, RegKey& result,
                                    std::uint32_t& disposition) {
  HKEY key = nullptr;
  DWORD how = 0;
  const LONG status = ::RegCreateKeyExA(ToHkey(root), path.c_str(), 0, nullptr, options,
                                        access | k32BitView, nullptr, &key, &how);
  result = status == ERROR_SUCCESS ? FromHkey(key) : 0;
  disposition = how;
  return status;
}

long Win32Registry::RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
  if (key == 0) return ERROR_INVALID_HANDLE;
  return ::RegSetValueExA(ToHkey(key), name.c_str(), 0, type, data, size);
}

long Win32Registry::RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t& type,
                                     std::uint8_t* data, std::uint32_t& size) {
  if (key == 0) return ERROR_INVALID_HANDLE;
  DWORD t = type;
  DWORD s = size;
  const LONG status = ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &t, data, &s);
  if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    type = t;
    size = s;
  }
  return status;
}

long Win32Registry::RegDeleteValueA(RegKey key, const std::string& name) {
  if (key == 0) return ERROR_INVALID_HANDLE;
  return ::RegDeleteValueA(ToHkey(key), name.c_str());
}

long Win32Registry::RegCloseKey(RegKey key) {
  if (key == 0) return ERROR_INVALID_HANDLE;
  return ::RegCloseKey(ToHkey(key));
}

Hwnd Win32WindowSystem::FindWindowA(const char* className, const char* title) {
  return FromHwnd(::FindWindowA(className, title));
}

Hwnd Win32WindowSystem::GetForegroundWindow() {
  return FromHwnd(::GetForegroundWindow());
}

bool Win32WindowSystem::IsWindowVisible(Hwnd window) {
  return window != 0 && ::IsWindowVisible(ToHwnd(window)) != FALSE;
}

int Win32WindowSystem::GetWindowTextA(Hwnd window, char* buffer, int maxCount) {
  if (buffer != nullptr && maxCount > 0) buffer[0] = '\0';
  if (window == 0 || buffer == nullptr || maxCount <= 0) return 0;
  return ::GetWindowTextA(ToHwnd(window), buffer, maxCount);
}

int Win32WindowSystem::GetClassNameA(Hwnd window, char* buffer, int maxCount) {
  if (window == 0 || buffer == nullptr || maxCount <= 0) return 0;
  return ::GetClassNameA(ToHwnd(window), buffer, maxCount);
}

bool Win32WindowSystem::EnableWindow(Hwnd window, bool enable) {
  if (window == 0) return false;
  return ::EnableWindow(ToHwnd(window), enable ? TRUE : FALSE) != FALSE;
}

bool Win32WindowSystem::ShowWindowAsync(Hwnd window, int command) {
  if (window == 0) return false;
  return ::ShowWindowAsync(ToHwnd(window), command) != FALSE;
}

bool Win32WindowSystem::PostMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  if (window == 0) return false;  // 0 would post to our own thread
  return ::PostMessageA(ToHwnd(window), message, wParam, lParam) != FALSE;
}

bool Win32WindowSystem::ClientToScreen(Hwnd window, Point& point) {
  if (window == 0) return false;
  POINT p{point.x, point.y};
  if (!::ClientToScreen(ToHwnd(window), &p)) return false;
  point = {p.x, p.y};
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

bool Win32WindowSystem::SetWindowPos(Hwnd window, Hwnd insertAfter, int x, int y, int cx, int cy,
                                     std::uint32_t flags) {
  if (window == 0) return false;
  const HWND after = insertAfter == HWND_TOPMOST_ ? HWND_TOPMOST : ToHwnd(insertAfter);
  return ::SetWindowPos(ToHwnd(window), after, x, y, cx, cy, flags) != FALSE;
}

bool Win32Shell::Shell_NotifyIconA(std::uint32_t message, const TrayRecord& record) {
  auto field = [&](std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, record.data() + offset, 4);
    return value;
  };
  // The record is the 88-byte single-byte form; fill the native structure from its fields so
  // that the 64-bit build, whose structure is laid out differently, gets the same icon.
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = ToHwnd(field(4));
  data.uID = field(8);
  data.uFlags = field(12);
  data.uCallbackMessage = field(16);
  data.hIcon = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(field(20)));
  std::memcpy(data.szTip, record.data() + 24, 63);
  data.szTip[63] = '\0';
  return ::Shell_NotifyIconA(message, &data) != FALSE;
}

std::intptr_t Win32Shell::ShellExecuteA(Hwnd owner, const std::string& operation,
                                        const std::string& file, const std::string& parameters,
                                        const std::string& directory, int showCommand) {
  const HINSTANCE result =
      ::ShellExecuteA(ToHwnd(owner), operation.c_str(), file.c_str(),
                      parameters.empty() ? nullptr : parameters.c_str(),
                      directory.empty() ? nullptr : directory.c_str(), showCommand);
  return reinterpret_cast<std::intptr_t>(result);
}

bool Win32Shell::StartProgram(const std::string& path, int windowStyle) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION info{};
  std::string command = "\"" + path + "\"";
  // No application name: a bare file name is found by the usual search.
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return false;
  }
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return true;
}

void Win32Input::SendDownArrowAndWait() {
  INPUT keys[2] = {};
  keys[0].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = VK_DOWN;
  keys[1] = keys[0];
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, keys, sizeof(INPUT));
  // The keys reach our queue as input; handing out what is queued now means they were
  // processed when we return. Nothing here waits on anything that may never come.
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void Win32Input::Beep() {
  ::MessageBeep(MB_OK);
}

void Win32Process::EndNow() {
  ::ExitProcess(0);
}

std::string Win32Process::ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  const std::size_t slash = folder.find_last_of('\\');
  if (slash == std::string::npos) return folder;
  folder.resize(slash);
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';  // a drive root keeps its own
  return folder;
}

}  // namespace pw
