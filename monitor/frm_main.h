#pragma once

#include <array>
#include <optional>
#include <string>

#include "monitor/browser_programs.h"
#include "platform/foreground_events.h"
#include "platform/forms/form.h"
#include "platform/forms/list_box.h"
#include "platform/forms/menu.h"
#include "platform/forms/timer.h"
#include "platform/types.h"
#include "store/settings_watch.h"

namespace pw {

class App;

// The hidden resident monitor: start-up, the word list and settings, the scan, the stop action
// and the tray menus. Its handlers are spread over a few source files by concern: frm_main.cpp
// start-up and the watcher tick (Timer1: a second copy's request, reloading changed settings),
// scan.cpp the scan ticks, stop_window.cpp the stop action, tray.cpp the tray menus and closing.
class frmMain : public forms::Form {
 public:
  explicit frmMain(App& app);

  forms::ListBox List1;  // active locked words in the form a reader sees, in stored order
  forms::ListBox List2;  // keys of windows unlocked by password during this run
  forms::ListBox List3;
  forms::Timer Timer1;
  forms::Timer timTarnwick;
  forms::Timer tmrTimeDelay;
  // Looks between scan ticks whether the window in front or its title changed, and if so runs
  // the scan tick at once, so a locked page is frozen well before the next tick.
  forms::Timer timEarlyScan;
  // Serves a tray click that came while an action waited with no prompt, once it has returned.
  forms::Timer tmrTrayClick;

  forms::MenuItem mnufile;
  forms::MenuItem mnuTWKSetup;
  forms::MenuItem mnub1;
  forms::MenuItem mnuReactivate;
  forms::MenuItem mnuDeactivate;
  forms::MenuItem mnub2;
  forms::MenuItem mnuAbout;
  forms::MenuItem mnuClose;
  forms::MenuItem mnufile2;
  forms::MenuItem mnuLockAllWindows2;
  forms::MenuItem mnub3;
  forms::MenuItem mnuabout2;
  forms::MenuItem mnuCloseMenu2;

  Hwnd TargetWindow = 0;
  std::string TargetTitle;
  // For the record: the whole title (up to 254 characters) and the word the scan found.
  std::string StopTitle;
  std::string StopWord;
  bool HideMenuOn = false;
  bool NoPasswordPrompt = false;
  // A window of a known browser program counts as a browser whatever its title.
  bool WatchEveryBrowser = true;

  // Everything unlocked, or locked again: the scan and the tray items that say which.
  void ShowAllUnlocked(bool unlocked);
  // Arms the one-shot delay timer without waiting for it.
  void StartTimeDelay(int interval);

  void GetWindows();
  void GetSettings();
  void StopWindow();
  void SetMousePos();
  void RestrictMouse();

  void timTarnwick_Timer();
  void Timer1_Timer();
  // Takes in the stored settings anew after a change; the watcher tick serves pending ones.
  void ReloadSettings();
  void tmrTimeDelay_Timer();
  void timEarlyScan_Timer();
  void tmrTrayClick_Timer();
  void mnuTWKSetup_Click();
  void mnuDeactivate_Click();
  void mnuReactivate_Click();
  void mnuLockAllWindows2_Click();
  void mnuAbout_Click();
  void mnuabout2_Click();

 private:
  // The look between scan ticks: whether the window in front, or its title or visibility,
  // differs from what the last scan tick saw. Sends no message to other programs and allocates
  // nothing.
  bool FrontChanged();
  // The system reported a change in front: look now.
  void FrontChangeReported(ForegroundEvents::Change change);

  struct Seen {
    Hwnd window = 0;
    bool visible = false;
    int length = 0;
    std::array<char, 1024> title{};
  };
  // What exempts a window once its password was given: its class name, or a dialog's title.
  std::string KeyOf(Hwnd window, const std::string& title);
  bool Exempt(Hwnd window, const std::string& key);
  // A tray action's prompt waits, and the scan found a locked page in front.
  void StopAfterPrompt();
  // Called by each tray action as it returns: a locked page found meanwhile is stopped now.
  void StopPageFoundMeanwhile();
  // A scan tick or a stop action waits further down the stack, and no prompt is up: a menu or
  // prompt opened now would hold it, and with it the scan, for as long as it stayed open.
  bool WaitingWithoutPrompt();
  // The prompt wait below a menu would end now: the prompt is gone or out of time.
  bool PromptWaitOver();
  void TrayClick(long code);

  Seen seen_;  // what the last scan tick saw in front
  // The system reports the foreground and titles itself, not only the focus.
  bool titlesReported_ = false;
  // When a look last found the front as seen_ says, unless a scan tick has read it since.
  std::optional<Millis> confirmedAt_;
  int stopDepth_ = 0;             // stop actions running, nested ones included
  bool offenderInFront_ = false;  // found while a tray action's prompt waited
  Hwnd offender_ = 0;             // that page, for the tick after the tray action
  bool timedOut_ = false;         // the last prompt was withdrawn by its time limit
  long trayClickLater_ = 0;       // the tray click tmrTrayClick serves
  bool menuOverWait_ = false;     // the tray menu open now was opened inside a prompt's wait
  std::string browserForm_;
  BrowserPrograms browsers_;  // the browser fragment as the scan last brought it to reader form

 protected:
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Unload() override;
  void Form_MouseMove(int button, int shift, float x, float y) override;
  // Explorer restarted and lost every icon: ours comes back unless it is switched off.
  void Form_ShellRestarted() override;

 private:
  // Whether the prompt is loaded and shown, without loading it.
  bool PromptShown();
  // Holds the cursor on the shown prompt and waits until it is answered or out of time.
  void WaitForPrompt();
  // Tells the service (or the event log) what became of the stopped window.
  void ReportStop(Hwnd target);
  // Waits, serving events, until the one-shot delay timer has ticked.
  void WaitForTimeDelay(int interval);

  App& app_;
  Hwnd servedSetupRequest_ = 0;  // the second copy's request window last served
  // Changes to the stored settings from outside raise ReloadPending.
  SettingsWatch watch_;
  // What RestrictMouse last asked for and what the system then reported, as the system may
  // shrink the rectangle to the screen.
  bool clipSet_ = false;
  Rect clipAsked_;
  Rect clipGot_;
};

}  // namespace pw
