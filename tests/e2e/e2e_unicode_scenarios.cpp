// Words and titles in any script, and browsers known by their program file.
#include <windows.h>

#include <string>

#include "platform/win32/backend/win32_text.h"
#include "tests/e2e/e2e_hands.h"
#include "tests/e2e/e2e_scenarios.h"

namespace pw::e2e {

namespace {

LRESULT CALLBACK ProgramProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Copies this driver under the program file name and starts it to show one window with the title.
HANDLE StartProgramNamed(const std::wstring& folder, const std::string& program,
                         const std::string& title) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring path = folder + win32::Wide(program);
  CopyFileW(self, path.c_str(), FALSE);
  std::wstring command = L"\"" + path + L"\" --program \"" + win32::Wide(title) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return nullptr;
  }
  CloseHandle(info.hThread);
  return info.hProcess;
}

struct WindowOf {
  DWORD process;
  HWND found = nullptr;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
  auto* query = reinterpret_cast<WindowOf*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != query->process || !IsWindowVisible(window)) return TRUE;
  query->found = window;
  return FALSE;
}

}  // namespace

int PlayedProgram(const std::string& title) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = ProgramProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"PlayedProgram";
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&cls);
  HWND window =
      CreateWindowExW(0, cls.lpszClassName, win32::Wide(title).c_str(), WS_OVERLAPPEDWINDOW, 60, 60,
                      400, 300, nullptr, nullptr, cls.hInstance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  return PumpUntilQuit(true);
}

void CyrillicWordLocksOnlyItsPages(Driver& d, Check& c) {
  d.PutWord(0, "\u043A\u0430\u0437\u0438\u043D\u043E,1");  // казино, stored with the wide call
  if (StartGuard(d, c) == nullptr) return;
  d.Pause(1000);
  PlayedWindow& greeting = d.OpenWindow(
      "IEFrame", "\u041F\u0440\u0438\u0432\u0435\u0442 \u043C\u0438\u0440 - Internet Explorer");
  d.Pause(1500);
  c.That(IsWindowEnabled(greeting.hwnd) && VisiblePrompt(d) == nullptr,
         "a page of six other Cyrillic letters is left alone");
  const std::string locked =
      "\u041A\u0410\u0417\u0418\u041D\u041E \u043E\u043D\u043B\u0430\u0439\u043D - Internet "
      "Explorer";
  PlayedWindow& page = d.OpenWindow("IEFrame", locked);
  HWND prompt = nullptr;
  c.That(d.WaitFor([&] { return page.disabledAt != 0 && (prompt = VisiblePrompt(d)) != nullptr; },
                   kPatience),
         "the page in capitals is frozen and prompted");
  if (prompt == nullptr) return;
  c.That(d.Text(prompt) == "Webkeeper: " + locked, "the prompt's caption shows the title as it is");
  d.Press(prompt, "X");
  c.That(d.WaitFor([&] { return page.closeRequests > 0; }, kPatience), "dismissing closes it");
}

void WizardStoresACyrillicWord(Driver& d, Check& c) {
  d.PutSetting("FirstTime", "1");
  HWND setup = OpenSetup(d, c, "");
  if (setup == nullptr) return;
  d.Press(setup, "Lock a Web Page");
  HWND wizard = WaitForVisible(d, "Lock an Item");
  c.That(wizard != nullptr, "the wizard opens");
  if (wizard == nullptr) return;
  const std::string word = "\u041A\u0430\u0437\u0438\u043D\u043E";  // Казино
  d.Type(d.FirstChild(wizard, "Edit"), word);
  d.Press(wizard, "&Next >");
  c.That(d.WaitFor([&] { return d.Press(wizard, "Finish"); }, kPatience), "the wizard finishes");
  RemoteListView list(d.FirstChild(setup, "SysListView32"));
  c.That(d.WaitFor([&] { return list.Usable() && list.Count() == 1 && list.Text(0) == word; },
                   kPatience),
         "the list shows the word as typed");
  d.Press(setup, "OK");
  c.That(d.WaitFor([&] { return d.GetWord(0) == word + ",1"; }, kPatience),
         "OK stores it as typed");
}

void EdgeTitleWithAnInvisibleSpace(Driver& d, Check& c) {
  d.PutWord(0, "casino,1");
  d.PutSetting("webbrowser", "Microsoft Edge");
  if (StartGuard(d, c) == nullptr) return;
  d.Pause(1000);
  PlayedWindow& page = d.OpenWindow("Chrome_WidgetWin_1", "Casino - Microsoft\u200B Edge");
  c.That(d.WaitFor([&] { return page.disabledAt != 0 && VisiblePrompt(d) != nullptr; }, kPatience),
         "Edge's title with its zero-width space is locked by the fragment Microsoft Edge");
  if (HWND prompt = VisiblePrompt(d)) d.Press(prompt, "X");
}

void BrowsersKnownByTheirProgram(Driver& d, Check& c) {
  d.PutWord(0, "casino,1");  // nothing else: the settings as installed
  if (StartGuard(d, c) == nullptr) return;
  d.Pause(1000);
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const struct {
    const char* program;
    bool locked;
  } programs[] = {{"notepad.exe", false}, {"msedge.exe", true}, {"firefox.exe", true}};
  for (const auto& p : programs) {
    const std::string what = p.program;
    HANDLE process = StartProgramNamed(temp, p.program, "Casino Royale");
    c.That(process != nullptr, what + " starts");
    if (process == nullptr) continue;
    WindowOf query{GetProcessId(process)};
    d.WaitFor(
        [&] {
          EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&query));
          return query.found != nullptr;
        },
        kPatience);
    if (p.locked) {
      HWND prompt = nullptr;
      c.That(d.WaitFor(
                 [&] {
                   return !IsWindowEnabled(query.found) && (prompt = VisiblePrompt(d)) != nullptr;
                 },
                 kPatience),
             what + "'s window titled Casino Royale is frozen and prompted");
      if (prompt != nullptr) d.Press(prompt, "X");
    } else {
      d.Pause(1500);
      c.That(query.found != nullptr && IsWindowEnabled(query.found) && VisiblePrompt(d) == nullptr,
             what + "'s window of the same title is left alone");
      PostMessageW(query.found, WM_CLOSE, 0, 0);
    }
    c.That(d.WaitFor([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, kPatience),
           what + " is closed");
    CloseHandle(process);
    DeleteFileW((std::wstring(temp) + win32::Wide(p.program)).c_str());
  }
}

}  // namespace pw::e2e
