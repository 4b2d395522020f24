#include "tests/e2e/e2e_driver.h"

#include <algorithm>
#include <set>

#include "platform/win32/backend/win32_text.h"

namespace pw::e2e {

namespace {

constexpr const char* kTarnwickKey = "SOFTWARE\\Tarnwick";
constexpr const char* kSettingsKey = "SOFTWARE\\Tarnwick\\Addon2\\Settings";
constexpr const char* kWindowsKey = "SOFTWARE\\Tarnwick\\Addon2\\Windows";
constexpr REGSAM kView = KEY_WOW64_32KEY;

std::string ClassOf(HWND window) {
  char buffer[300] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

void PutString(const char* path, const std::string& name, const std::string& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE | kView, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  // With the wide call, as reg add and Group Policy store text.
  const std::wstring text = win32::Wide(value);
  RegSetValueExW(key, win32::Wide(name).c_str(), 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

std::string GetString(const char* path, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | kView, &key) != ERROR_SUCCESS) {
    return "";
  }
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer - sizeof buffer[0];
  DWORD type = 0;
  const LONG result = RegQueryValueExW(key, win32::Wide(name).c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && type == REG_SZ ? win32::Utf8(buffer) : std::string();
}

struct Search {
  std::string prefix;
  HWND found = nullptr;
};

BOOL CALLBACK FindVisibleProc(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  if (IsWindowVisible(window) && win32::Utf8(title).rfind(search->prefix, 0) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectProgramProc(HWND window, LPARAM param) {
  auto* pids = reinterpret_cast<std::set<DWORD>*>(param);
  if (ClassOf(window) == "PagewardenForm") {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    pids->insert(pid);
  }
  return TRUE;
}

// A visible child of the class, with exactly the text when one is given.
struct ChildQuery {
  std::string cls;
  const std::string* text;
  HWND found;
};

BOOL CALLBACK FindChildProc(HWND child, LPARAM param) {
  auto* q = reinterpret_cast<ChildQuery*>(param);
  if (_stricmp(ClassOf(child).c_str(), q->cls.c_str()) != 0 || !IsWindowVisible(child)) return TRUE;
  if (q->text != nullptr) {
    char title[256] = {};
    GetWindowTextA(child, title, sizeof title);
    if (*q->text != title) return TRUE;
  }
  q->found = child;
  return FALSE;
}

}  // namespace

std::string MachineString(const char* path, const std::string& name) {
  return GetString(path, name);
}

double PreciseMs() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double ListReadsMs(int count) {
  const double start = PreciseMs();
  for (int n = 0; n < count; ++n) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kWindowsKey, 0, KEY_READ | kView, &key) !=
        ERROR_SUCCESS) {
      continue;
    }
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const std::string name = "Window" + std::to_string(n);
    RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
  }
  return PreciseMs() - start;
}

Driver::Driver(std::string program) : program_(std::move(program)) {
  // A path given the Unix way still names the file for Windows.
  for (char& c : program_) {
    if (c == '/') c = '\\';
  }
}

Driver::~Driver() {
  EndAllCopies();
}

void Driver::Reset() {
  EndAllCopies();
  for (PlayedWindow* window : windows_) {
    if (IsWindow(window->hwnd)) DestroyWindow(window->hwnd);
    delete window;
  }
  windows_.clear();
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTarnwickKey, 0, KEY_ALL_ACCESS | kView, &key) ==
      ERROR_SUCCESS) {
    RegDeleteTreeA(key, nullptr);
    RegCloseKey(key);
  }
  SetScreenDpi(96);
  Pause(200);
}

void Driver::EndAllCopies() {
  // A closed monitor starts a fresh copy, so end copies until none is left.
  for (int round = 0; round < 5; ++round) {
    std::set<DWORD> pids;
    EnumWindows(CollectProgramProc, reinterpret_cast<LPARAM>(&pids));
    if (pids.empty()) return;
    for (DWORD pid : pids) {
      if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
      }
    }
    Pause(300);
  }
}

void Driver::PutSetting(const std::string& name, const std::string& value) {
  PutString(kSettingsKey, name, value);
}

void Driver::PutWord(int n, const std::string& value) {
  PutString(kWindowsKey, "Window" + std::to_string(n), value);
}

std::string Driver::GetSetting(const std::string& name) {
  return GetString(kSettingsKey, name);
}

std::string Driver::GetWord(int n) {
  return GetString(kWindowsKey, "Window" + std::to_string(n));
}

bool Driver::StartProgram() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string command = "\"" + program_ + "\"";
  if (!CreateProcessA(program_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    return false;
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return true;
}

HWND Driver::Monitor() {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, nullptr, "Pagewarden")) != nullptr) {
    // The prompt, loaded again hidden after use, carries the same caption; the monitor is the
    // one with the hidden word lists.
    if (!IsWindowVisible(window) && ClassOf(window) == "PagewardenForm" &&
        FindWindowExA(window, nullptr, "ListBox", nullptr) != nullptr) {
      return window;
    }
  }
  return nullptr;
}

bool Driver::Settled(HWND window, int timeoutMs) {
  // A start-up that reads its settings answers nothing until it is done; one that waits for
  // another program answers at once meanwhile, so one quick answer proves nothing. Quick answers
  // for longer than such a wait lasts do.
  constexpr ULONGLONG kQuickMs = 50;
  constexpr ULONGLONG kQuietMs = 1500;
  const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  ULONGLONG quietSince = GetTickCount64();
  while (GetTickCount64() < until) {
    const ULONGLONG asked = GetTickCount64();
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(timeoutMs),
                            &answer) == 0) {
      return false;
    }
    const ULONGLONG answered = GetTickCount64();
    if (answered - asked > kQuickMs) quietSince = answered;
    if (answered - quietSince >= kQuietMs) return true;
    Pause(50);
  }
  return false;
}

DWORD Driver::ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

LRESULT CALLBACK Driver::PlayedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* played = reinterpret_cast<PlayedWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (message == WM_CLOSE && played != nullptr) {
    ++played->closeRequests;
    if (played->refuseClose) return 0;
  }
  // Sent from inside the program's EnableWindow call, so this is the moment it froze us.
  if (message == WM_ENABLE && wParam == FALSE && played != nullptr && played->disabledAt == 0) {
    played->disabledAt = PreciseMs();
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

PlayedWindow& Driver::OpenWindow(const std::string& className, const std::string& title,
                                 int settleMs) {
  // Wide, so that a title in any script reaches the program as it is.
  const std::wstring wideClass = win32::Wide(className);
  WNDCLASSW cls{};
  cls.lpfnWndProc = PlayedProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = wideClass.c_str();
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&cls);  // fails harmlessly when already registered
  auto* played = new PlayedWindow;
  windows_.push_back(played);
  played->hwnd =
      CreateWindowExW(0, wideClass.c_str(), win32::Wide(title).c_str(), WS_OVERLAPPEDWINDOW, 50, 50,
                      400, 300, nullptr, nullptr, cls.hInstance, nullptr);
  SetWindowLongPtrA(played->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(played));
  played->shownAt = PreciseMs();
  ShowWindow(played->hwnd, SW_SHOWNORMAL);
  SetForegroundWindow(played->hwnd);
  played->frontAt = PreciseMs();
  Pause(settleMs);
  return *played;
}

bool Driver::Alive(const PlayedWindow& window) const {
  return IsWindow(window.hwnd) != FALSE;
}

void Driver::SetScreenDpi(int dpi) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_WRITE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  const DWORD value = static_cast<DWORD>(dpi);
  RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                 sizeof value);
  RegCloseKey(key);
}

long Driver::MillisUntil(const std::function<bool()>& condition, int timeoutMs) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (condition()) return static_cast<long>(GetTickCount64() - start);
    if (GetTickCount64() - start >= static_cast<ULONGLONG>(timeoutMs)) return -1;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

bool Driver::WaitFor(const std::function<bool()>& condition, int timeoutMs) {
  const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= until) return false;
    // Serve our windows while waiting; look again at least every 20 ms, and at the deadline.
    const auto left = static_cast<DWORD>(until - GetTickCount64());
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(left, 20), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

void Driver::Pause(int ms) {
  WaitFor([] { return false; }, ms);
}

HWND Driver::FindVisible(const std::string& captionPrefix) {
  Search search{captionPrefix};
  EnumWindows(FindVisibleProc, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Driver::Child(HWND parent, const std::string& className, const std::string& text) {
  ChildQuery query{className, &text, nullptr};
  EnumChildWindows(parent, FindChildProc, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND Driver::FirstChild(HWND parent, const std::string& className) {
  ChildQuery query{className, nullptr, nullptr};
  EnumChildWindows(parent, FindChildProc, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

std::string Driver::Text(HWND window) {
  wchar_t text[1024] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      5000, nullptr);
  return win32::Utf8(text);
}

void Driver::Type(HWND edit, const std::string& text) {
  const std::wstring wide = win32::Wide(text);
  SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), SMTO_ABORTIFHUNG,
                      5000, nullptr);
}

bool Driver::Keys(const std::string& text) {
  std::vector<INPUT> keys;
  for (char c : text) {
    WORD key = 0;
    if (c == '\r') {
      key = VK_RETURN;
    } else if (c >= 'a' && c <= 'z') {
      key = static_cast<WORD>('A' + (c - 'a'));  // the key; without Shift it types the small letter
    } else if (c >= '0' && c <= '9') {
      key = static_cast<WORD>(c);
    } else {
      return false;
    }
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    INPUT up = down;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    keys.push_back(down);
    keys.push_back(up);
  }
  return SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)) == keys.size();
}

bool Driver::Press(HWND parent, const std::string& caption) {
  HWND button = Child(parent, "Button", caption);
  if (button == nullptr || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
  // Posted, not sent: the click may start a wait in the program, which must not hold us up.
  PostMessageA(button, BM_CLICK, 0, 0);
  return true;
}

int PumpUntilQuit(bool wide) {
  MSG msg;
  while ((wide ? GetMessageW(&msg, nullptr, 0, 0) : GetMessageA(&msg, nullptr, 0, 0)) > 0) {
    TranslateMessage(&msg);
    if (wide) {
      DispatchMessageW(&msg);
    } else {
      DispatchMessageA(&msg);
    }
  }
  return 0;
}

}  // namespace pw::e2e
