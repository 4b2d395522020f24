#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/e2e_check.h"
#include "tests/e2e/e2e_driver.h"

namespace pw::e2e {

inline constexpr int kPatience = 30000;  // Wine is slow to start programs; be generous

// Starts the program and waits for its monitor; null when it did not come up.
HWND StartGuard(Driver& d, Check& c);
// Runs a command line to its end; returns its exit code, or -1 when it did not start.
long Run(std::string command);
// The text boxes of a window, in the order they were made.
std::vector<HWND> Edits(HWND window);
// Closed or hidden.
bool Gone(HWND window);
// Waits for a window whose caption starts with `caption` to show; the window, or null.
HWND WaitForVisible(Driver& d, const std::string& caption, int timeoutMs = kPatience);
// The password prompt, shown, or null.
HWND VisiblePrompt(Driver& d);
// Keeps the page in front until the guard's prompt shows (checked as `what`); the prompt or null.
HWND PromptInFrontOf(Driver& d, Check& c, PlayedWindow& page, const std::string& what);
// Opens the setup window as a user does: a double-click on the tray icon, then the setup
// password. Returns the window, or null.
HWND OpenSetup(Driver& d, Check& c, const std::string& password);
// Waits for the setup password prompt that something just asked for (`asked` says what), gives
// the password and waits for the setup window. Returns the window, or null.
HWND AnswerSetupPrompt(Driver& d, Check& c, const std::string& password, const std::string& asked);

// Chooses an item of the setup window's Settings menu by its access key and waits for the window
// it opens (titled `title`); the window, or null.
HWND FromSettingsMenu(Driver& d, HWND setup, WORD item, const std::string& title);
// Sets new passwords from the open setup window, typed as given, then typed again to confirm;
// true when the dialog closed.
struct PasswordPair {
  std::string unlock;
  std::string setup;
};
bool ChangePasswordsThroughTheMenu(Driver& d, Check& c, HWND setup, const PasswordPair& first,
                                   const PasswordPair& confirmation);
// The setup window and its dialogs, worked with the mouse and the keyboard.
void SetupWindowEdits(Driver& d, Check& c);
void PasswordsChangedThroughTheSetupMenu(Driver& d, Check& c);
// The program among other programs and the system.
void TrayMenus(Driver& d, Check& c);
void DisabledMenuRemovesTheIcon(Driver& d, Check& c);
void LogOffEndsTheGuard(Driver& d, Check& c);
void OtherProgramsWindowsNamedLikeOurs(Driver& d, Check& c);
// A prompt left open or looked past.
void SetupPromptLeftOpen(Driver& d, Check& c);
void CoverHidesTheLockedPage(Driver& d, Check& c);
void SwitchKeysHeldWhilePrompting(Driver& d, Check& c);

// With the package's service: the passwords kept by the service, changes stored through it.
void OwnersAuthority(Driver& d, Check& c);
// With the service running and these passwords: three stops with different outcomes appear,
// newest first, in the History window, and its export holds them.
// `shown` is handed the History window once it lists them (for a picture of it).
void HistoryOfStops(Driver& d, Check& c, const std::string& unlock, const std::string& setup,
                    const std::function<void(HWND)>& shown = {});
// Prints what recording adds to a stop and how long the History window takes to open with a
// full record of 10,000 entries.
void MeasureHistory(Driver& d, Check& c, const std::string& setup);
// Words and titles in any script, browsers known by their program file.
void CyrillicWordLocksOnlyItsPages(Driver& d, Check& c);
void WizardStoresACyrillicWord(Driver& d, Check& c);
void EdgeTitleWithAnInvisibleSpace(Driver& d, Check& c);
void BrowsersKnownByTheirProgram(Driver& d, Check& c);
// A played program of its own: one window with the title, until it is closed.
int PlayedProgram(const std::string& title);

// Figures for long word lists, printed.
void MeasureLongLists(Driver& d);

}  // namespace pw::e2e
