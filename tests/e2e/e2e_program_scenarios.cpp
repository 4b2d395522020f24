// The program among other programs and the system: its tray menus, the switch that hides its
// icon, the end of a session, and other programs' windows that carry its captions.
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "tests/e2e/e2e_hands.h"
#include "tests/e2e/e2e_scenarios.h"

namespace pw::e2e {

namespace {

constexpr const char* kCasino = "Casino Royale - Microsoft Internet Explorer";
constexpr int kRightClick = 517;  // the shell's callback for a right-button release

struct MenuSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindMenuOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<MenuSearch*>(param);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (lstrcmpA(name, "#32768") == 0 && pid == search->pid && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// A popup menu the process shows, or null.
HWND MenuOf(DWORD pid) {
  MenuSearch search{pid, nullptr};
  EnumWindows(FindMenuOf, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND OpenMenu(Driver& d) {
  return MenuOf(d.ProcessOf(d.Monitor()));
}

// Right-clicks the tray icon, then goes down the menu to the given item and chooses it.
// Returns the size of the menu as shown.
SIZE ChooseFromMenu(Driver& d, Check& c, int downs) {
  PostMessageA(d.Monitor(), 0x200, 2, kRightClick);
  HWND menu = nullptr;
  c.That(d.WaitFor([&] { return (menu = OpenMenu(d)) != nullptr; }, kPatience),
         "a right-click on the icon shows a menu");
  if (menu == nullptr) return {};
  RECT r{};
  GetWindowRect(menu, &r);
  for (int i = 0; i < downs; ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  c.That(d.WaitFor([&] { return OpenMenu(d) == nullptr; }, kPatience), "the menu closes");
  return {r.right - r.left, r.bottom - r.top};
}

// Width of a text in the menu font, plain or bold.
int MenuTextWidth(const std::string& text, bool bold) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
  HFONT font = CreateFontIndirectA(&metrics.lfMenuFont);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  return size.cx;
}

// No window of the program belongs to another process.
bool OnlyProcess(Driver& d, DWORD pid) {
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "PagewardenForm", nullptr)) != nullptr;) {
    if (d.ProcessOf(w) != pid) return false;
  }
  return true;
}

bool Stopped(Driver& d, PlayedWindow& page) {
  return !IsWindowEnabled(page.hwnd) && VisiblePrompt(d) != nullptr;
}

void AnswerPrompt(Driver& d, const std::string& password) {
  HWND prompt = VisiblePrompt(d);
  d.Type(d.FirstChild(prompt, "Edit"), password);
  d.Press(prompt, "OK");
}

}  // namespace

void TrayMenus(Driver& d, Check& c) {
  d.PutSetting("UserPassword", "open");
  d.PutWord(0, "casino,1");
  if (StartGuard(d, c) == nullptr) return;

  // Configure..., -, Lock All (grey), Unlock All, -, About, Cancel: the third item unlocks.
  const SIZE full = ChooseFromMenu(d, c, 3);
  c.That(d.WaitFor([&] { return VisiblePrompt(d) != nullptr; }, kPatience),
         "Unlock All asks for the password");
  AnswerPrompt(d, "open");
  c.That(d.WaitFor([&] { return VisiblePrompt(d) == nullptr; }, kPatience), "and accepts it");
  PlayedWindow& page = d.OpenWindow("IEFrame", kCasino);
  d.Pause(1500);
  c.That(!Stopped(d, page), "after Unlock All a locked page stays usable");

  ChooseFromMenu(d, c, 3);  // Unlock All is grey now
  d.Pause(1500);
  c.That(VisiblePrompt(d) == nullptr, "a grey Unlock All does nothing");
  ChooseFromMenu(d, c, 2);  // Lock All
  d.OpenWindow("Notepad", "notes - Notepad");
  PlayedWindow& again = d.OpenWindow("IEFrame", kCasino);
  c.That(d.WaitFor([&] { return Stopped(d, again); }, kPatience),
         "after Lock All a locked page is stopped again");
  AnswerPrompt(d, "open");
  c.That(d.WaitFor([&] { return VisiblePrompt(d) == nullptr; }, kPatience), "the page lives");

  // A menu left open is a loop of the system's own, and the scan goes on inside it.
  PostMessageA(d.Monitor(), 0x200, 2, kRightClick);
  c.That(d.WaitFor([&] { return OpenMenu(d) != nullptr; }, kPatience), "the menu is left open");
  d.Pause(1000);
  PlayedWindow& meanwhile = d.OpenWindow("MozillaWindowClass", kCasino);
  bool menuOpen = false;
  c.That(d.WaitFor(
             [&] {
               menuOpen = menuOpen || OpenMenu(d) != nullptr;
               return !IsWindowEnabled(meanwhile.hwnd);
             },
             kPatience),
         "a locked page is frozen while the menu is open");
  std::printf("    the menu was %s when the page was frozen\n", menuOpen ? "open" : "closed");
  c.That(d.WaitFor([&] { return VisiblePrompt(d) != nullptr; }, kPatience), "and asked for");
  AnswerPrompt(d, "open");
  c.That(d.WaitFor([&] { return VisiblePrompt(d) == nullptr; }, kPatience), "the page lives");
  if (OpenMenu(d) != nullptr) PressKey(VK_ESCAPE);
  c.That(d.WaitFor([&] { return OpenMenu(d) == nullptr; }, kPatience), "the menu is gone");

  ChooseFromMenu(d, c, 4);  // About
  HWND about = WaitForVisible(d, "About");
  c.That(about != nullptr, "About shows the about box");
  if (about != nullptr) PostMessageA(about, WM_CLOSE, 0, 0);

  // The reduced menu: Lock All (grey), -, About, Cancel.
  d.Reset();
  d.PutSetting("HideMenu", "1");
  if (StartGuard(d, c) == nullptr) return;
  PostMessageA(d.Monitor(), 0x200, 1, 515);
  d.Pause(1500);
  c.That(VisiblePrompt(d) == nullptr, "with the reduced menu a double-click does nothing");
  const SIZE reduced = ChooseFromMenu(d, c, 2);
  c.That(d.WaitFor([&] { return d.FindVisible("About") != nullptr; }, kPatience),
         "About in the reduced menu shows the about box");
  c.That(full.cy > reduced.cy, "the full menu has more items than the reduced one");
  // Only the full menu has a default item; drawn bold, it is what makes the menu wider.
  const int widthGained = full.cx - reduced.cx;
  const int reducedText = std::max({MenuTextWidth("Lock All", false), MenuTextWidth("About", false),
                                    MenuTextWidth("Cancel", false)});
  const int plainText = std::max(MenuTextWidth("Configure...", false), reducedText);
  const int boldGain = MenuTextWidth("Configure...", true) - reducedText;
  const int plainGain = plainText - reducedText;
  c.That(widthGained > (boldGain + plainGain) / 2 - 1 && widthGained <= boldGain + 2,
         "the default item Configure... is bold");
}

void DisabledMenuRemovesTheIcon(Driver& d, Check& c) {
  d.PutSetting("disablemenu", "1");
  d.PutSetting("UserPassword2", "admin");
  HWND monitor = StartGuard(d, c);
  if (monitor == nullptr) return;
  // The shell's record of the icon: asking to change it fails when there is none.
  NOTIFYICONDATAA icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = monitor;
  icon.uID = 1;
  icon.uFlags = NIF_TIP;
  lstrcpyA(icon.szTip, "probe");
  // The load adds the icon and then takes it away again for this switch.
  auto noIcon = [&] { return Shell_NotifyIconA(NIM_MODIFY, &icon) == FALSE; };
  c.That(d.WaitFor(noIcon, kPatience), "no icon in the notification area");
  d.Pause(1000);
  c.That(noIcon(), "nor later");

  // A second start still reaches the running copy; its setup can switch the icon back on.
  d.StartProgram();
  HWND setup = AnswerSetupPrompt(d, c, "admin", "a second start asks for the setup password");
  if (setup == nullptr) return;
  // Keys go to the window in front; it comes there a moment after it shows.
  c.That(d.WaitFor([&] { return GetForegroundWindow() == setup; }, kPatience),
         "the setup window comes to the front");
  // Settings, then Disable Right Click Menu: the menu keys, as a user without a mouse would.
  PressWith(VK_MENU, 'S');
  for (int i = 0; i < 4; ++i) PressKey(VK_DOWN);  // from Set Passwords..., the first
  PressKey(VK_RETURN);
  // The item's command is queued when its menu goes; OK comes after it.
  c.That(d.WaitFor([&] { return MenuOf(d.ProcessOf(setup)) == nullptr; }, kPatience),
         "the menu closes");
  d.Press(setup, "OK");
  c.That(d.WaitFor([&] { return d.GetSetting("disablemenu") == "0"; }, kPatience),
         "unticked, the switch is stored off");
  c.That(d.WaitFor([&] { return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE; }, kPatience),
         "and the icon is back after the reload");
  icon.uFlags = NIF_TIP;
  lstrcpyA(icon.szTip, "Pagewarden ");
  Shell_NotifyIconA(NIM_MODIFY, &icon);
}

void LogOffEndsTheGuard(Driver& d, Check& c) {
  HWND monitor = StartGuard(d, c);
  if (monitor == nullptr) return;
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, d.ProcessOf(monitor));
  DWORD_PTR agreed = 0;
  SendMessageTimeoutA(monitor, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000,
                      &agreed);
  c.That(agreed != 0, "the guard lets the session end");
  SendMessageTimeoutA(monitor, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, nullptr);
  c.That(process != nullptr && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0,
         "the guard ends with the session");
  if (process != nullptr) CloseHandle(process);
  d.Pause(3000);
  c.That(FindWindowA("PagewardenForm", nullptr) == nullptr, "no fresh copy starts");
}

void OtherProgramsWindowsNamedLikeOurs(Driver& d, Check& c) {
  // Explorer titles a window on a folder named Pagewarden just so.
  d.OpenWindow("CabinetWClass", "Pagewarden");
  HWND monitor = StartGuard(d, c);
  if (monitor == nullptr) return;
  d.Pause(2000);
  c.That(IsWindow(monitor) && d.Monitor() == monitor, "the fresh start stays the guard");

  d.OpenWindow("MsiDialogCloseClass", "Pagewarden Setup");
  d.Pause(1500);
  c.That(VisiblePrompt(d) == nullptr, "an installer captioned Pagewarden Setup asks for nothing");

  // With the folder window in front of it, the guard is still found by a second start.
  d.OpenWindow("CabinetWClass", "Pagewarden");
  d.StartProgram();
  HWND prompt = nullptr;
  c.That(d.WaitFor([&] { return (prompt = VisiblePrompt(d)) != nullptr; }, kPatience),
         "a second start is a second copy and asks the guard for its setup");
  if (prompt != nullptr) d.Press(prompt, "X");
  d.Pause(2500);
  c.That(IsWindow(monitor) && OnlyProcess(d, d.ProcessOf(monitor)), "one guard runs");
}

}  // namespace pw::e2e
