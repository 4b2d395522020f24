// A prompt the guarded user would like to get past: the setup prompt left open while browsing
// on, and a locked page looked at past its prompt.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/e2e_hands.h"
#include "tests/e2e/e2e_scenarios.h"

namespace pw::e2e {

namespace {

constexpr const char* kCasino = "Casino Royale - Microsoft Internet Explorer";

// The cover over a frozen page, shown, or null.
HWND Cover() {
  HWND cover = FindWindowA("PagewardenForm", "Locked page");
  return cover != nullptr && IsWindowVisible(cover) ? cover : nullptr;
}

bool SameRect(HWND a, HWND b) {
  RECT ra{};
  RECT rb{};
  return GetWindowRect(a, &ra) != FALSE && GetWindowRect(b, &rb) != FALSE &&
         EqualRect(&ra, &rb) != FALSE;
}

// Whether `upper` comes before `lower` in the z-order, front first.
bool Above(HWND upper, HWND lower) {
  for (HWND w = GetWindow(upper, GW_HWNDNEXT); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == lower) return true;
  }
  return false;
}

// Keys seen by a low-level keyboard hook of the driver's, set before the guard's: the guard's
// runs first and keeps what it swallows from this one. A hook has no context, hence the static.
std::vector<DWORD>& KeysSeen() {
  static std::vector<DWORD> seen;
  return seen;
}

LRESULT CALLBACK SeeKeys(int code, WPARAM message, LPARAM info) {
  if (code == HC_ACTION && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
    KeysSeen().push_back(reinterpret_cast<const KBDLLHOOKSTRUCT*>(info)->vkCode);
  }
  return CallNextHookEx(nullptr, code, message, info);
}

bool Seen(DWORD key) {
  const std::vector<DWORD>& seen = KeysSeen();
  return std::find(seen.begin(), seen.end(), key) != seen.end();
}

}  // namespace

void SwitchKeysHeldWhilePrompting(Driver& d, Check& c) {
  d.PutSetting("UserPassword", "open");
  d.PutWord(0, "casino,1");
  HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, SeeKeys, GetModuleHandleW(nullptr), 0);
  c.That(hook != nullptr, "the driver watches the keyboard");
  if (hook == nullptr || StartGuard(d, c) == nullptr) return;
  d.OpenWindow("IEFrame", kCasino);
  HWND prompt = nullptr;
  c.That(d.WaitFor([&] { return (prompt = VisiblePrompt(d)) != nullptr; }, kPatience),
         "the page is stopped");
  d.Pause(1000);
  KeysSeen().clear();
  PressWith(VK_MENU, VK_TAB);
  PressWith(VK_CONTROL, VK_ESCAPE);
  PressKey(VK_LWIN);
  PressKey(VK_F5);
  c.That(d.WaitFor([&] { return Seen(VK_F5); }, 5000), "other keys pass");
  c.That(Seen(VK_MENU) && Seen(VK_CONTROL), "and so do the modifiers alone");
  c.That(!Seen(VK_TAB) && !Seen(VK_ESCAPE) && !Seen(VK_LWIN),
         "Alt+Tab, Ctrl+Esc and the Windows key are swallowed while the prompt waits");

  if (prompt != nullptr) {
    d.Type(d.FirstChild(prompt, "Edit"), "open");
    d.Press(prompt, "OK");
  }
  c.That(d.WaitFor([&] { return VisiblePrompt(d) == nullptr; }, kPatience), "answered");
  // The hook goes when the guard's wait next looks, a moment after the prompt has closed.
  d.Pause(500);
  KeysSeen().clear();
  PressWith(VK_MENU, VK_TAB);
  c.That(d.WaitFor([&] { return Seen(VK_TAB); }, 5000), "afterwards Alt+Tab passes again");
  UnhookWindowsHookEx(hook);
}

void SetupPromptLeftOpen(Driver& d, Check& c) {
  d.PutSetting("UserPassword", "open");
  d.PutSetting("UserPassword2", "admin");
  d.PutWord(0, "casino,1");
  if (StartGuard(d, c) == nullptr) return;
  PlayedWindow& page = d.OpenWindow("IEFrame", "News - Microsoft Internet Explorer");
  d.StartProgram();  // a second start asks for the setup password
  HWND asked = nullptr;
  c.That(d.WaitFor([&] { return (asked = VisiblePrompt(d)) != nullptr; }, kPatience),
         "a second start shows the setup prompt");
  if (asked == nullptr) return;
  d.Pause(2000);  // the second copy has gone

  // Left unanswered, while the user browses on to a locked page.
  SetWindowTextA(page.hwnd, kCasino);
  SetForegroundWindow(page.hwnd);
  c.That(d.WaitFor([&] { return IsWindowEnabled(page.hwnd) == FALSE; }, kPatience),
         "the locked page is frozen though the setup prompt waited");
  HWND prompt = nullptr;
  c.That(d.WaitFor(
             [&] {
               prompt = VisiblePrompt(d);
               return prompt != nullptr && d.Text(prompt).rfind("Webkeeper: Casino Royale", 0) == 0;
             },
             kPatience),
         "the page's own prompt replaces the setup prompt");
  if (prompt == nullptr) return;
  d.Type(d.FirstChild(prompt, "Edit"), "open");
  d.Press(prompt, "OK");
  c.That(d.WaitFor([&] { return IsWindowEnabled(page.hwnd) != FALSE; }, kPatience),
         "the unlock password lets the page live");
  c.That(d.FindVisible("Pagewarden") == nullptr, "and opens no setup window");
}

void CoverHidesTheLockedPage(Driver& d, Check& c) {
  d.PutSetting("UserPassword", "open");
  d.PutWord(0, "casino,1");
  if (StartGuard(d, c) == nullptr) return;
  PlayedWindow& page = d.OpenWindow("IEFrame", kCasino);
  HWND prompt = nullptr;
  c.That(d.WaitFor([&] { return (prompt = VisiblePrompt(d)) != nullptr; }, kPatience),
         "the page is stopped");
  HWND cover = nullptr;
  c.That(d.WaitFor([&] { return (cover = Cover()) != nullptr; }, kPatience), "a cover shows");
  if (prompt == nullptr || cover == nullptr) return;
  c.That(d.WaitFor([&] { return SameRect(cover, page.hwnd); }, kPatience),
         "over exactly the page's rectangle");
  c.That(GetWindow(prompt, GW_HWNDNEXT) == cover, "right behind the prompt");
  c.That(Above(cover, page.hwnd), "and in front of the page");
  c.That(GetForegroundWindow() == prompt, "the prompt keeps the keyboard");

  // The page's program moves and sizes it, and raises it: the cover follows.
  SetWindowPos(page.hwnd, HWND_TOP, 20, 30, 700, 500, SWP_NOACTIVATE);
  c.That(d.WaitFor([&] { return SameRect(cover, page.hwnd); }, 2000),
         "the cover follows the page when it moves");
  c.That(d.WaitFor([&] { return Above(cover, page.hwnd); }, 2000), "and stays in front of it");

  d.Type(d.FirstChild(prompt, "Edit"), "open");
  d.Press(prompt, "OK");
  c.That(d.WaitFor([&] { return Cover() == nullptr; }, kPatience),
         "the right password takes the cover away");
  c.That(IsWindowEnabled(page.hwnd) != FALSE, "and the page lives");

  // Refused, the page closes and takes its cover with it. (The page let live is restored by
  // a message it handles while the driver waits, which brings it to the front again.)
  d.Pause(1000);
  PlayedWindow& other = d.OpenWindow("Chrome_WidgetWin_1", kCasino);
  c.That(d.WaitFor([&] { return (prompt = VisiblePrompt(d)) != nullptr && Cover() != nullptr; },
                   kPatience),
         "another browser's locked page is covered");
  if (prompt == nullptr) return;
  d.Press(prompt, "X");
  c.That(d.WaitFor([&] { return !d.Alive(other) && Cover() == nullptr; }, kPatience),
         "dismissed, the page closes and the cover goes");
}

}  // namespace pw::e2e
