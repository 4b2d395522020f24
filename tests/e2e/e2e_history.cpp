// The record of stops under Wine, with the package's service: a refused, an unanswered and an
// allowed stop, read back in the History window and in its CSV export.
#include <fstream>
#include <sstream>
#include <string>

#include "tests/e2e/e2e_hands.h"
#include "tests/e2e/e2e_scenarios.h"

namespace pw::e2e {

namespace {

// A page the guard stops, of a class of its own so that no earlier exemption covers it; the
// browser title fragment is the one the owner's scenario stored.
HWND Stopped(Driver& d, Check& c, const std::string& className, const std::string& title,
             PlayedWindow** opened = nullptr) {
  PlayedWindow& page = d.OpenWindow(className, title);
  if (opened != nullptr) *opened = &page;
  d.WaitFor(
      [&] {
        if (GetForegroundWindow() != page.hwnd) SetForegroundWindow(page.hwnd);
        return GetForegroundWindow() == page.hwnd;
      },
      kPatience);
  HWND prompt = nullptr;
  c.That(d.WaitFor([&] { return (prompt = VisiblePrompt(d)) != nullptr; }, kPatience),
         "the page is stopped: " + title);
  return prompt;
}

bool PromptGone(Driver& d) {
  return d.WaitFor([&] { return VisiblePrompt(d) == nullptr; }, kPatience);
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

}  // namespace

void HistoryOfStops(Driver& d, Check& c, const std::string& unlock, const std::string& setupPw) {
  const std::string browser = " - Pagewarden Test Browser";
  const std::string refusedTitle = "Poker, \"refused\"" + browser;
  if (HWND prompt = Stopped(d, c, "HistoryOne", refusedTitle)) {
    d.Type(d.FirstChild(prompt, "Edit"), "nope");
    d.Press(prompt, "OK");
    d.Pause(500);
    d.Press(prompt, "X");
    c.That(PromptGone(d), "a wrong answer and the X close the first prompt");
  }
  if (HWND prompt = Stopped(d, c, "HistoryTwo", "Poker unanswered" + browser)) {
    d.Press(prompt, "X");
    c.That(PromptGone(d), "the X closes the second prompt unanswered");
  }
  PlayedWindow* allowedPage = nullptr;
  if (HWND prompt = Stopped(d, c, "HistoryThree", "Poker allowed" + browser, &allowedPage)) {
    HWND edit = d.FirstChild(prompt, "Edit");
    d.Type(edit, unlock);
    // An empty answer is a dismissal: the password must be in the box before OK.
    d.WaitFor([&] { return GetWindowTextLengthW(edit) == static_cast<int>(unlock.size()); },
              kPatience);
    d.Press(prompt, "OK");
    c.That(PromptGone(d) && d.Alive(*allowedPage) && allowedPage->closeRequests == 0,
           "the right password lets the third page live");
  }

  HWND setup = OpenSetup(d, c, setupPw);
  if (setup == nullptr) return;
  // Settings, then History..., by their access keys.
  HWND history = nullptr;
  for (int attempt = 0; attempt < 3 && history == nullptr; ++attempt) {
    SetForegroundWindow(setup);
    d.WaitFor([&] { return GetForegroundWindow() == setup; }, kPatience);
    PressWith(VK_MENU, 'S');
    PressKey('H');
    d.WaitFor([&] { return (history = d.FindVisible("Pagewarden History")) != nullptr; }, 5000);
  }
  c.That(history != nullptr, "Settings, History... opens the History window");
  if (history == nullptr) return;
  RemoteListView list(d.FirstChild(history, "SysListView32"));
  c.That(list.Usable() && list.Count() >= 3, "it lists the entries");
  constexpr int kOutcome = 5;
  std::string rows;
  for (int i = 0; i < list.Count() && i < 8; ++i) {
    rows +=
        "    " + list.Text(i, 0) + " | " + list.Text(i, 3) + " | " + list.Text(i, kOutcome) + "\n";
  }
  c.That(list.Text(0, kOutcome) == "Right password" && list.Text(0, 3) == "Poker allowed" + browser,
         "the newest first: the allowed stop; the list:\n" + rows);
  c.That(list.Text(1, kOutcome) == "Closed unanswered", "then the unanswered one");
  c.That(list.Text(2, kOutcome) == "Refused after 1 wrong answer" &&
             list.Text(2, 3) == refusedTitle && list.Text(2, 4) == "poker",
         "then the refused one, with its title and word");

  // Export..., into the common Save dialog.
  const std::string path = "C:\\pagewarden-history.csv";
  DeleteFileA(path.c_str());
  d.Press(history, "&Export...");
  HWND save = nullptr;
  d.WaitFor([&] { return (save = d.FindVisible("Save")) != nullptr; }, kPatience);
  c.That(save != nullptr, "Export... opens the Save dialog");
  if (save == nullptr) return;
  d.Type(d.FirstChild(save, "Edit"), path);
  PressKey(VK_RETURN);
  d.WaitFor([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }, kPatience);
  d.Pause(500);
  const std::string csv = FileText(path);
  const auto refused = csv.find("\"Poker, \"\"refused\"\" - Pagewarden Test Browser\"");
  const auto unanswered = csv.find("\"Closed unanswered\"");
  const auto allowed = csv.find("\"Poker allowed - Pagewarden Test Browser\"");
  c.That(csv.rfind("\xEF\xBB\xBFTime (UTC),", 0) == 0, "the export is UTF-8 with a header row");
  c.That(refused != std::string::npos && unanswered != std::string::npos &&
             allowed != std::string::npos && refused < unanswered && unanswered < allowed,
         "the export holds the three stops, oldest first, quoted as RFC 4180 says:\n" + csv);
  d.Press(history, "Close");
  d.Press(setup, "Cancel");
}

}  // namespace pw::e2e
