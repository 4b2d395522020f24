// Opens each window of the program in turn and announces it, so that a script can take a
// picture of it: prints "SHOT <name> <left> <top> <right> <bottom>" and holds still a moment.
// Run: pw_e2e.exe <pgwatch.exe> --tour
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/e2e_driver.h"
#include "tests/e2e/e2e_scenarios.h"

namespace pw::e2e {

namespace {

constexpr int kWait = 30000;

void Shot(Driver& d, const char* name, HWND window) {
  if (window == nullptr) {
    std::printf("MISSING %s\n", name);
    std::fflush(stdout);
    return;
  }
  d.Pause(700);  // let it paint
  // The client area: without a window manager the frame is not drawn.
  RECT r{};
  GetClientRect(window, &r);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  OffsetRect(&r, origin.x, origin.y);
  std::printf("SHOT %s %ld %ld %ld %ld\n", name, r.left, r.top, r.right, r.bottom);
  std::fflush(stdout);
  d.Pause(1500);
}

// Chooses a menu-bar item by its caption, as a click on it would.
bool ChooseMenuItem(HWND window, const std::string& caption) {
  HMENU bar = GetMenu(window);
  for (int i = 0; bar != nullptr && i < GetMenuItemCount(bar); ++i) {
    HMENU sub = GetSubMenu(bar, i);
    for (int j = 0; sub != nullptr && j < GetMenuItemCount(sub); ++j) {
      char text[128] = {};
      GetMenuStringA(sub, static_cast<UINT>(j), text, sizeof text, MF_BYPOSITION);
      if (caption == text) {
        PostMessageA(window, WM_COMMAND, GetMenuItemID(sub, j), 0);
        return true;
      }
    }
  }
  return false;
}

HWND WaitVisible(Driver& d, const std::string& caption) {
  HWND found = nullptr;
  d.WaitFor([&] { return (found = d.FindVisible(caption)) != nullptr; }, kWait);
  return found;
}

}  // namespace

int Tour(Driver& d) {
  d.Reset();
  d.PutSetting("UserPassword", "secret");
  d.PutWord(0, "casino,1");
  d.StartProgram();
  d.WaitFor([&] { return d.Monitor() != nullptr; }, kWait);
  PlayedWindow& page = d.OpenWindow("IEFrame", "Casino Royale - Microsoft Internet Explorer");
  HWND prompt = WaitVisible(d, "Webkeeper: ");
  Shot(d, "prompt", prompt);
  // The page made large, so that its cover shows around the prompt.
  SetWindowPos(page.hwnd, nullptr, 112, 184, 800, 400, SWP_NOZORDER | SWP_NOACTIVATE);
  d.Pause(1000);
  Shot(d, "cover", FindWindowA("PagewardenForm", "Locked page"));
  if (prompt != nullptr) {
    d.Type(d.FirstChild(prompt, "Edit"), "wrong");
    d.Press(prompt, "OK");
    d.WaitFor([&] { return d.Child(prompt, "Static", "Password: Access Denied!") != nullptr; },
              kWait);
    Shot(d, "prompt-denied", prompt);
    d.Press(prompt, "X");
    d.WaitFor([&] { return d.FindVisible("Webkeeper: ") == nullptr; }, kWait);
  }
  d.Pause(1000);

  d.StartProgram();  // a second start asks the running copy for its setup
  prompt = WaitVisible(d, "Webkeeper: ");
  if (prompt != nullptr) d.Press(prompt, "OK");  // no setup password yet
  HWND setup = nullptr;
  d.WaitFor(
      [&] {
        setup = d.FindVisible("Pagewarden");
        return setup != nullptr && d.Child(setup, "Button", "Apply") != nullptr;
      },
      kWait);
  Shot(d, "setup", setup);
  if (setup == nullptr) return 1;

  d.Press(setup, "Lock a Web Page");
  HWND wizard = WaitVisible(d, "Lock an Item");
  Shot(d, "wizard", wizard);
  if (wizard != nullptr) d.Press(wizard, "Cancel");
  d.Pause(500);

  d.Press(setup, "Change");
  HWND change = WaitVisible(d, "Change");
  Shot(d, "change", change);
  if (change != nullptr) d.Press(change, "Cancel");
  d.Pause(500);

  ChooseMenuItem(setup, "&Set Passwords...");
  HWND passwords = WaitVisible(d, "Change Password");
  Shot(d, "passwords", passwords);
  if (passwords != nullptr) d.Press(passwords, "Cancel");
  d.Pause(500);
  d.Reset();
  return 0;
}

int HistoryShot(Driver& d) {
  // The package's service runs; the browser title and three stops as the end-to-end test has them.
  Run("reg add \"HKLM\\SOFTWARE\\Tarnwick\\Addon2\\Settings\" /v webbrowser /d "
      "\"Pagewarden Test Browser\" /f /reg:32");
  Run("reg add \"HKLM\\SOFTWARE\\Tarnwick\\Addon2\\Windows\" /v Window0 /d \"poker,1\" /f "
      "/reg:32");
  d.WaitFor([&] { return d.Monitor() != nullptr; }, kWait);
  d.Pause(5000);
  Check c;
  HistoryOfStops(d, c, "histpass", "histown", [&](HWND history) { Shot(d, "history", history); });
  std::printf("%s", c.failures.c_str());
  return c.ok ? 0 : 1;
}

}  // namespace pw::e2e
