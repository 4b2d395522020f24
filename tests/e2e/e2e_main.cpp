// End-to-end scenarios: the real program under test, this driver playing browser and user.
// Usage: pw_e2e.exe <path of pgwatch.exe> [scenario name]
//        pw_e2e.exe <path of pgwatch.exe> --installer <package.msi> <later package.msi>
//                   <package.msi of the other processor architecture>
//        pw_e2e.exe <path of pgwatch.exe> --installer-watchdog <package.msi> <later package.msi>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/e2e_check.h"
#include "tests/e2e/e2e_driver.h"
#include "tests/e2e/e2e_scenarios.h"

namespace pw::e2e {

int Measure(Driver& driver);
int MeasureFreezes(Driver& driver);
int Tour(Driver& driver);
// With the package's service installed: three stops and a picture of the History window.
int HistoryShot(Driver& driver);
int Installer(Driver& driver, const std::string& package, const std::string& later,
              const std::string& otherArchitecture);
int InstallerWithWatchdog(Driver& driver, const std::string& package, const std::string& later);
std::vector<std::string> HungBrowser(Driver& driver);
int HungBrowserProcess();
int Soak(Driver& driver, int minutes);

namespace {

constexpr int kWait = 30000;  // Wine is slow to start programs; be generous
constexpr const char* kCasino = "Casino Royale - Microsoft Internet Explorer";

HWND Prompt(Driver& d) {
  return d.FindVisible("Webkeeper: ");
}

bool StartMonitor(Driver& d, Check& c) {
  c.That(d.StartProgram(), "the program starts");
  const bool up = d.WaitFor([&] { return d.Monitor() != nullptr; }, kWait);
  c.That(up, "a hidden window captioned Pagewarden appears");
  // Its caption comes before the words and settings are loaded.
  c.That(up && d.Settled(d.Monitor(), kWait), "the program has finished starting");
  return up;
}

// Opens a locked page and waits for the prompt; returns it or null.
HWND LockedPage(Driver& d, Check& c, PlayedWindow*& page) {
  d.PutWord(0, "casino,1");
  if (!StartMonitor(d, c)) return nullptr;
  page = &d.OpenWindow("IEFrame", kCasino);
  HWND prompt = nullptr;
  c.That(d.WaitFor([&] { return (prompt = Prompt(d)) != nullptr; }, kWait), "the prompt appears");
  return prompt;
}

void StartupWithEmptyRegistry(Driver& d, Check& c) {
  if (!StartMonitor(d, c)) return;
  c.That(!IsWindowVisible(d.Monitor()), "the monitor stays hidden");
  PlayedWindow& page = d.OpenWindow("IEFrame", kCasino);
  d.Pause(1500);
  c.That(Prompt(d) == nullptr, "no locked words: no prompt");
  c.That(IsWindowEnabled(page.hwnd) != FALSE, "the page stays usable");
}

void LockedPageFrozenAndPrompted(Driver& d, Check& c) {
  PlayedWindow* page = nullptr;
  HWND prompt = LockedPage(d, c, page);
  if (prompt == nullptr) return;
  c.That(d.Text(prompt) == "Webkeeper: " + std::string(kCasino).substr(0, 40),
         "the caption shows the first 40 characters of the title");
  c.That(!IsWindowEnabled(page->hwnd), "the page is frozen");
  d.OpenWindow("Notepad", "casino.txt - Notepad");
}

void WrongThenRightPassword(Driver& d, Check& c) {
  d.PutSetting("UserPassword", "secret");
  PlayedWindow* page = nullptr;
  HWND prompt = LockedPage(d, c, page);
  if (prompt == nullptr) return;
  d.Type(d.FirstChild(prompt, "Edit"), "nope");
  c.That(d.Press(prompt, "OK"), "OK can be pressed");
  c.That(d.WaitFor([&] { return d.Child(prompt, "Static", "Password: Access Denied!") != nullptr; },
                   kWait),
         "a wrong password is refused");
  c.That(IsWindow(prompt) && IsWindowVisible(prompt), "the prompt stays after a refusal");
  d.Type(d.FirstChild(prompt, "Edit"), "SECRET");
  d.Press(prompt, "OK");
  c.That(d.WaitFor([&] { return Prompt(d) == nullptr; }, kWait), "the right password closes it");
  c.That(d.WaitFor([&] { return IsWindowEnabled(page->hwnd) != FALSE; }, kWait),
         "the page is usable again");
  c.That(page->closeRequests == 0 && d.Alive(*page), "the page was not closed");
  PlayedWindow& second = d.OpenWindow("IEFrame", kCasino);
  d.Pause(2000);
  c.That(Prompt(d) == nullptr && IsWindowEnabled(second.hwnd), "the unlocked class is exempt");
}

// The prompt takes the keyboard from the page in front: the user types without clicking first.
void TypedPasswordReachesThePrompt(Driver& d, Check& c) {
  d.PutSetting("UserPassword", "secret");
  PlayedWindow* page = nullptr;
  HWND prompt = LockedPage(d, c, page);
  if (prompt == nullptr) return;
  c.That(d.WaitFor([&] { return GetForegroundWindow() == prompt; }, 5000),
         "the prompt is the foreground window");
  d.Pause(300);  // the Down arrow of the stop action has been handled
  c.That(d.Keys("secret\r"), "the keys are sent");
  c.That(d.WaitFor([&] { return Prompt(d) == nullptr; }, kWait), "the typed password is accepted");
  c.That(d.WaitFor([&] { return IsWindowEnabled(page->hwnd) != FALSE; }, kWait),
         "the page is usable again");
  c.That(page->closeRequests == 0 && d.Alive(*page), "the page was not closed");
}

// The right password gives the page back at once, and the guard keeps answering meanwhile.
void RightPasswordFreesThePageAtOnce(Driver& d, Check& c) {
  d.PutSetting("UserPassword", "secret");
  PlayedWindow* page = nullptr;
  HWND prompt = LockedPage(d, c, page);
  if (prompt == nullptr) return;
  d.Pause(500);
  d.Type(d.FirstChild(prompt, "Edit"), "secret");
  c.That(d.Press(prompt, "OK"), "OK can be pressed");
  const long enabled = d.MillisUntil([&] { return IsWindowEnabled(page->hwnd) != FALSE; }, kWait);
  std::printf("    the page was enabled %ld ms after OK\n", enabled);
  c.That(enabled >= 0 && enabled <= 100, "the page is enabled within 100 ms of OK");
  c.That(page->closeRequests == 0 && d.Alive(*page), "the page was not closed");
}

// At 144 dots per inch the prompt's client area is 4440 x 1395 twips, 444 x 140 pixels, and
// the cursor is held inside it.
void PromptAt144Dpi(Driver& d, Check& c) {
  d.SetScreenDpi(144);
  PlayedWindow* page = nullptr;
  HWND prompt = LockedPage(d, c, page);
  if (prompt == nullptr) return;
  d.Pause(500);
  RECT client{};
  GetClientRect(prompt, &client);
  std::printf("    client area %ld x %ld pixels\n", client.right, client.bottom);
  c.That(client.right == 444 && client.bottom == 140, "the client area is 444 x 140 pixels");
  POINT origin{0, 0};
  ClientToScreen(prompt, &origin);
  RECT clip{};
  GetClipCursor(&clip);
  std::printf("    clip %ld,%ld-%ld,%ld, client origin %ld,%ld\n", clip.left, clip.top, clip.right,
              clip.bottom, origin.x, origin.y);
  c.That(clip.left == origin.x && clip.top == origin.y && clip.right == origin.x + 444 &&
             clip.bottom == origin.y + 140,
         "the cursor is held in the client area");
  SetCursorPos(0, 0);
  POINT cursor{};
  GetCursorPos(&cursor);
  c.That(cursor.x == origin.x && cursor.y == origin.y, "the cursor cannot leave it");
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  RECT outer{};
  GetWindowRect(prompt, &outer);
  c.That(std::abs(outer.left + outer.right - screenWidth) <= 1, "the prompt is centred");
  d.Press(prompt, "X");
}

// Presses a button of the prompt over a locked page and checks that the page is asked to close
// (`what`); false when no prompt came.
bool PressClosesThePage(Driver& d, Check& c, const std::string& button, const std::string& what) {
  PlayedWindow* page = nullptr;
  HWND prompt = LockedPage(d, c, page);
  if (prompt == nullptr) return false;
  d.Press(prompt, button);
  c.That(d.WaitFor([&] { return page->closeRequests > 0; }, kWait), what);
  return true;
}

void EmptyAnswerCloses(Driver& d, Check& c) {
  PressClosesThePage(d, c, "OK", "an empty answer closes it");
}

void DismissedPromptCloses(Driver& d, Check& c) {
  if (!PressClosesThePage(d, c, "X", "X closes the page")) return;
  c.That(d.WaitFor([&] { return Prompt(d) == nullptr; }, kWait), "the prompt goes");
}

void NoPromptMode(Driver& d, Check& c) {
  d.PutSetting("passwordprompt", "1");
  d.PutWord(0, "casino,1");
  if (!StartMonitor(d, c)) return;
  PlayedWindow& page = d.OpenWindow("IEFrame", kCasino);
  c.That(d.WaitFor([&] { return page.closeRequests > 0; }, kWait), "closed without asking");
  c.That(Prompt(d) == nullptr, "no prompt was shown");
}

void TimeLimit(Driver& d, Check& c) {
  d.PutSetting("TimeDelay", "5");
  PlayedWindow* page = nullptr;
  HWND prompt = LockedPage(d, c, page);
  if (prompt == nullptr) return;
  const ULONGLONG shown = GetTickCount64();
  c.That(d.WaitFor([&] { return page->closeRequests > 0; }, kWait), "closed when time runs out");
  const ULONGLONG waited = GetTickCount64() - shown;
  c.That(waited >= 3500 && waited <= 15000, "after about five seconds");
}

void SecondStartOpensSetup(Driver& d, Check& c) {
  d.PutSetting("UserPassword2", "admin");
  if (!StartMonitor(d, c)) return;
  c.That(d.StartProgram(), "a second copy starts");
  HWND setup = AnswerSetupPrompt(d, c, "admin", "the running monitor asks for the setup password");
  if (setup == nullptr) return;
  d.Pause(1500);  // the second copy's request has gone by now
  c.That(Prompt(d) == nullptr, "the request is served once");
  d.Press(setup, "OK");
  c.That(d.WaitFor([&] { return d.GetSetting("FirstTime") == "1"; }, kWait), "OK stores");
  // The switches are stored before the list.
  c.That(d.WaitFor([&] { return d.GetWord(0) == "Babe,0" && d.GetWord(10) == "XXX,0"; }, kWait),
         "the seeded list is stored");
}

void TrayDoubleClick(Driver& d, Check& c) {
  if (!StartMonitor(d, c)) return;
  PostMessageA(d.Monitor(), 0x200, 1, 515);  // the shell's callback for a double-click
  HWND prompt = nullptr;
  c.That(d.WaitFor([&] { return (prompt = Prompt(d)) != nullptr; }, kWait),
         "a double-click on the icon asks for the setup password");
  if (prompt != nullptr) d.Press(prompt, "X");
  c.That(d.WaitFor([&] { return Prompt(d) == nullptr; }, kWait), "X dismisses it");
}

void ClosingStartsAFreshCopy(Driver& d, Check& c) {
  if (!StartMonitor(d, c)) return;
  HWND old = d.Monitor();
  const DWORD oldPid = d.ProcessOf(old);
  PostMessageA(old, WM_CLOSE, 0, 0);
  c.That(d.WaitFor(
             [&] {
               HWND now = d.Monitor();
               return now != nullptr && d.ProcessOf(now) != oldPid;
             },
             kWait),
         "a fresh copy becomes the monitor");
}

struct Scenario {
  const char* name;
  void (*run)(Driver&, Check&);
};

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> all = {
      {"startup_with_empty_registry", StartupWithEmptyRegistry},
      {"locked_page_frozen_and_prompted", LockedPageFrozenAndPrompted},
      {"wrong_then_right_password", WrongThenRightPassword},
      {"typed_password_reaches_the_prompt", TypedPasswordReachesThePrompt},
      {"right_password_frees_the_page_at_once", RightPasswordFreesThePageAtOnce},
      {"prompt_at_144_dpi", PromptAt144Dpi},
      {"empty_answer_closes", EmptyAnswerCloses},
      {"dismissed_prompt_closes", DismissedPromptCloses},
      {"no_prompt_mode", NoPromptMode},
      {"time_limit", TimeLimit},
      {"second_start_opens_setup", SecondStartOpensSetup},
      {"tray_double_click", TrayDoubleClick},
      {"closing_starts_a_fresh_copy", ClosingStartsAFreshCopy},
      {"setup_window_edits", SetupWindowEdits},
      {"passwords_changed_through_the_setup_menu", PasswordsChangedThroughTheSetupMenu},
      {"tray_menus", TrayMenus},
      {"disabled_menu_removes_the_icon", DisabledMenuRemovesTheIcon},
      {"log_off_ends_the_guard", LogOffEndsTheGuard},
      {"other_programs_windows_named_like_ours", OtherProgramsWindowsNamedLikeOurs},
      {"setup_prompt_left_open", SetupPromptLeftOpen},
      {"cover_hides_the_locked_page", CoverHidesTheLockedPage},
      {"switch_keys_held_while_prompting", SwitchKeysHeldWhilePrompting},
      {"cyrillic_word_locks_only_its_pages", CyrillicWordLocksOnlyItsPages},
      {"wizard_stores_a_cyrillic_word", WizardStoresACyrillicWord},
      {"edge_title_with_an_invisible_space", EdgeTitleWithAnInvisibleSpace},
      {"browsers_known_by_their_program", BrowsersKnownByTheirProgram},
      {"hung_browser",
       [](Driver& d, Check& c) {
         for (const std::string& failure : HungBrowser(d)) c.That(false, failure.c_str());
       }},
  };
  return all;
}

}  // namespace
}  // namespace pw::e2e

int main(int argc, char** argv) {
  using namespace pw::e2e;
  if (argc > 1 && std::strcmp(argv[1], "--hang") == 0) return HungBrowserProcess();
  if (argc > 2 && std::strcmp(argv[1], "--program") == 0) return PlayedProgram(argv[2]);
  if (argc < 2) {
    std::fprintf(stderr, "usage: pw_e2e <pgwatch.exe> [scenario]\n");
    return 2;
  }
  // Window sizes of the program are read in its own pixels, whatever density it runs at.
  SetProcessDPIAware();
  Driver driver(argv[1]);
  if (argc > 2 && std::strcmp(argv[2], "--measure") == 0) {
    MeasureFreezes(driver);
    return Measure(driver);
  }
  if (argc > 2 && std::strcmp(argv[2], "--measure-freezes") == 0) return MeasureFreezes(driver);
  if (argc > 2 && std::strcmp(argv[2], "--tour") == 0) return Tour(driver);
  if (argc > 2 && std::strcmp(argv[2], "--history-shot") == 0) return HistoryShot(driver);
  if (argc > 5 && std::strcmp(argv[2], "--installer") == 0) {
    return Installer(driver, argv[3], argv[4], argv[5]);
  }
  if (argc > 4 && std::strcmp(argv[2], "--installer-watchdog") == 0) {
    return InstallerWithWatchdog(driver, argv[3], argv[4]);
  }
  if (argc > 3 && std::strcmp(argv[2], "--soak") == 0) return Soak(driver, std::atoi(argv[3]));
  int passed = 0, failed = 0;
  for (const Scenario& scenario : Scenarios()) {
    // Names given: only those scenarios.
    bool named = argc <= 2;
    for (int i = 2; i < argc; ++i) named = named || std::strcmp(argv[i], scenario.name) == 0;
    if (!named) continue;
    driver.Reset();
    Check check;
    scenario.run(driver, check);
    std::printf("%s %s\n%s", check.ok ? "PASS" : "FAIL", scenario.name, check.failures.c_str());
    std::fflush(stdout);
    (check.ok ? passed : failed)++;
  }
  driver.Reset();
  std::printf("e2e: %d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
