// The setup window and the change-passwords dialog, worked with real clicks and keystrokes.
#include <vector>

#include "tests/e2e/e2e_hands.h"
#include "tests/e2e/e2e_scenarios.h"

namespace pw::e2e {

namespace {

constexpr const char* kCasino = "Casino Royale - Microsoft Internet Explorer";

BOOL CALLBACK CollectEdits(HWND child, LPARAM param) {
  char name[16] = {};
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "Edit") == 0) reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
  return TRUE;
}

}  // namespace

std::vector<HWND> Edits(HWND window) {
  std::vector<HWND> edits;
  EnumChildWindows(window, CollectEdits, reinterpret_cast<LPARAM>(&edits));
  return edits;
}

bool Gone(HWND window) {
  return !IsWindow(window) || !IsWindowVisible(window);
}

HWND WaitForVisible(Driver& d, const std::string& caption, int timeoutMs) {
  HWND found = nullptr;
  d.WaitFor([&] { return (found = d.FindVisible(caption)) != nullptr; }, timeoutMs);
  return found;
}

HWND StartGuard(Driver& d, Check& c) {
  c.That(d.StartProgram(), "the program starts");
  const bool up = d.WaitFor([&] { return d.Monitor() != nullptr; }, kPatience);
  c.That(up, "the monitor comes up");
  // Its caption comes before the words and settings are loaded.
  c.That(up && d.Settled(d.Monitor(), kPatience), "the program has finished starting");
  return up ? d.Monitor() : nullptr;
}

HWND VisiblePrompt(Driver& d) {
  return d.FindVisible("Webkeeper: ");
}

HWND OpenSetup(Driver& d, Check& c, const std::string& password) {
  HWND monitor = d.Monitor();
  if (monitor == nullptr && (monitor = StartGuard(d, c)) == nullptr) return nullptr;
  PostMessageA(monitor, 0x200, 1, 515);  // the shell's callback for a double-click
  return AnswerSetupPrompt(d, c, password,
                           "a double-click on the icon asks for the setup password");
}

HWND AnswerSetupPrompt(Driver& d, Check& c, const std::string& password, const std::string& asked) {
  HWND prompt = nullptr;
  c.That(d.WaitFor([&] { return (prompt = VisiblePrompt(d)) != nullptr; }, kPatience), asked);
  if (prompt == nullptr) return nullptr;
  d.Type(d.FirstChild(prompt, "Edit"), password);
  d.Press(prompt, "OK");
  HWND setup = nullptr;
  c.That(d.WaitFor(
             [&] {
               setup = d.FindVisible("Pagewarden");
               return setup != nullptr && d.Child(setup, "Button", "Apply") != nullptr;
             },
             kPatience),
         "the setup window opens");
  return setup;
}

HWND FromSettingsMenu(Driver& d, HWND setup, WORD item, const std::string& title) {
  // Keys go to the window in front, which under Wine may take a moment to get them.
  HWND opened = nullptr;
  for (int attempt = 0; attempt < 3 && opened == nullptr; ++attempt) {
    SetForegroundWindow(setup);
    d.WaitFor([&] { return GetForegroundWindow() == setup; }, kPatience);
    PressWith(VK_MENU, 'S');
    PressKey(item);
    opened = WaitForVisible(d, title, 5000);
  }
  return opened;
}

bool ChangePasswordsThroughTheMenu(Driver& d, Check& c, HWND setup, const PasswordPair& first,
                                   const PasswordPair& confirmation) {
  // Settings, then Set Passwords...
  HWND dialog = FromSettingsMenu(d, setup, 'S', "Change Password");
  c.That(dialog != nullptr, "the menu opens the change-passwords dialog");
  if (dialog == nullptr) return false;
  c.That(!IsWindowEnabled(setup), "the setup window waits for it");
  const std::vector<HWND> boxes = Edits(dialog);
  if (boxes.size() != 2) {
    c.That(false, "the dialog has two password boxes");
    return false;
  }
  // The first box has the focus; Tab leads to the second.
  TypeKeys(first.unlock);
  PressKey(VK_TAB);
  TypeKeys(first.setup);
  PressKey(VK_RETURN);
  c.That(d.WaitFor(
             [&] { return d.Child(dialog, "Static", "Please confirm your passwords.") != nullptr; },
             kPatience),
         "the first OK asks to confirm");
  ClickWindow(boxes[0]);
  TypeKeys(confirmation.unlock);
  ClickWindow(boxes[1]);
  TypeKeys(confirmation.setup);
  PressKey(VK_RETURN);
  const bool closed = d.WaitFor([&] { return Gone(dialog); }, kPatience);
  c.That(closed, "the second OK closes the dialog");
  return closed;
}

void SetupWindowEdits(Driver& d, Check& c) {
  d.PutSetting("FirstTime", "1");
  d.PutWord(0, "Babe,1");
  d.PutWord(1, "Poker,0");
  d.PutWord(2, "Sex,0");
  HWND setup = OpenSetup(d, c, "");
  if (setup == nullptr) return;
  HWND apply = d.Child(setup, "Button", "Apply");
  c.That(d.WaitFor([&] { return FocusOf(setup) == apply; }, 3000),
         "the setup window opens with the focus on Apply");
  RemoteListView list(d.FirstChild(setup, "SysListView32"));
  c.That(list.Usable() && list.Count() == 3 && list.Text(2) == "Sex", "the stored words show");
  auto applyEnabled = [&] { return IsWindowEnabled(apply) != FALSE; };

  d.Press(setup, "Apply");
  c.That(d.WaitFor([&] { return !applyEnabled(); }, kPatience), "Apply stores and goes grey");
  ClickAt(list.CheckBoxPoint(2));
  c.That(d.WaitFor(applyEnabled, kPatience), "ticking a word after Apply enables Apply again");
  c.That(list.Checked(2) && list.Selected() == 2, "the word clicked is ticked and current");
  d.Press(setup, "Apply");
  c.That(d.WaitFor([&] { return d.GetWord(2) == "Sex,1"; }, kPatience), "Apply stores the tick");

  c.That(d.WaitFor([&] { return !applyEnabled(); }, kPatience), "Apply goes grey again");
  ClickAt(list.TextPoint(2));
  c.That(d.WaitFor(applyEnabled, kPatience), "a click on the current word counts as a click");
  PressKey(VK_SPACE);
  c.That(d.WaitFor([&] { return !list.Checked(2); }, kPatience), "Space unticks the current word");
  ClickAt(list.CheckBoxPoint(2));
  c.That(d.WaitFor([&] { return list.Checked(2); }, kPatience), "its check box ticks it again");

  // Remove twice on a ticked word: first the tick goes, then the word.
  ClickAt(list.CheckBoxPoint(1));
  c.That(d.WaitFor([&] { return list.Checked(1) && list.Selected() == 1; }, kPatience),
         "a click on Poker's check box ticks it and makes it current");
  d.Press(setup, "Remove");
  c.That(d.WaitFor([&] { return !list.Checked(1) && list.Count() == 3; }, kPatience),
         "the first Remove only unticks the word clicked");
  d.Press(setup, "Remove");
  c.That(d.WaitFor([&] { return list.Count() == 2 && list.Text(1) == "Sex"; }, kPatience),
         "the second Remove takes it out");

  // The wizard adds a word, ticked and current.
  d.Press(setup, "Lock a Web Page");
  HWND wizard = WaitForVisible(d, "Lock an Item");
  c.That(wizard != nullptr, "the wizard opens");
  if (wizard == nullptr) return;
  c.That(!IsWindowEnabled(setup), "the setup window waits for the wizard");
  d.Type(d.FirstChild(wizard, "Edit"), "Casino");
  d.Press(wizard, "&Next >");
  c.That(d.WaitFor([&] { return d.Press(wizard, "Finish"); }, kPatience), "the wizard finishes");
  c.That(d.WaitFor([&] { return Gone(wizard) && IsWindowEnabled(setup); }, kPatience),
         "the wizard goes and the setup window is usable again");
  c.That(list.Count() == 3 && list.Text(1) == "Casino" && list.Checked(1) && list.Selected() == 1,
         "the new word stands in its sorted place, ticked and current");

  // Change rewrites the current word.
  d.Press(setup, "Change");
  HWND change = WaitForVisible(d, "Change");
  c.That(change != nullptr, "the change-entry dialog opens");
  if (change == nullptr) return;
  c.That(d.Text(d.FirstChild(change, "Edit")) == "Casino", "it shows the current word");
  d.Type(d.FirstChild(change, "Edit"), "Roulette");
  d.Press(change, "OK");
  c.That(d.WaitFor([&] { return Gone(change) && list.Text(1) == "Roulette"; }, kPatience),
         "the word is rewritten");

  d.Press(setup, "OK");
  c.That(d.WaitFor([&] { return Gone(setup); }, kPatience), "OK closes the setup window");
  c.That(d.GetWord(0) == "Babe,1" && d.GetWord(1) == "Roulette,1" && d.GetWord(2) == "Sex,1" &&
             d.GetWord(3).empty(),
         "OK stores the list as shown");
}

void PasswordsChangedThroughTheSetupMenu(Driver& d, Check& c) {
  d.PutSetting("FirstTime", "1");
  d.PutWord(0, "casino,1");
  HWND setup = OpenSetup(d, c, "");
  if (setup == nullptr) return;
  if (!ChangePasswordsThroughTheMenu(d, c, setup, {"NewPass", "SetUp"}, {"NEWPASS", "setup"})) {
    return;
  }
  c.That(d.GetSetting("UserPassword") == "newpass" && d.GetSetting("UserPassword2") == "setup",
         "both passwords are stored in lower case");
  c.That(d.WaitFor([&] { return IsWindowEnabled(setup) != FALSE; }, kPatience),
         "the setup window is usable again");
  d.Press(setup, "Cancel");
  c.That(d.WaitFor([&] { return Gone(setup); }, kPatience), "Cancel closes the setup window");

  PlayedWindow& page = d.OpenWindow("IEFrame", kCasino);
  HWND prompt = nullptr;
  c.That(d.WaitFor([&] { return (prompt = VisiblePrompt(d)) != nullptr; }, kPatience),
         "a locked page asks for the password");
  if (prompt == nullptr) return;
  d.Type(d.FirstChild(prompt, "Edit"), "NewPass");
  d.Press(prompt, "OK");
  c.That(
      d.WaitFor([&] { return IsWindowEnabled(page.hwnd) != FALSE && VisiblePrompt(d) == nullptr; },
                kPatience),
      "the new unlock password lets the page live");
  c.That(page.closeRequests == 0, "the page was not closed");
  c.That(OpenSetup(d, c, "SETUP") != nullptr, "the new setup password opens the setup window");
}

}  // namespace pw::e2e
