#include "monitor/frm_main.h"

#include <vector>

#include "app/app.h"
#include "base/names.h"
#include "base/text.h"
#include "store/settings_store.h"

namespace pw {

namespace {

constexpr const char* kMonitorCaption = kProductName;
constexpr const char* kSecondCopyCaption = "Pagewarden Setup";
constexpr std::size_t kPasswordLength = 8;
// Often enough that a locked page is frozen within 40 ms as a rule and 80 ms at the most, rarely
// enough that an idle monitor under Wine (where no change in front is reported) stays under half
// a percent of a core: there each look costs some four calls into its server.
constexpr int kEarlyScanPeriod = 45;
// Once the system reports changes in front, the look runs when a report arrives; besides, once a
// minute, which costs nothing and keeps the timer on for the reports to hurry.
constexpr int kReportedLookPeriod = 60000;
// Where only the focus is reported, the look is for title changes alone: a little less often,
// still within 80 ms at the most.
constexpr int kTitleLookPeriod = 60;
// How soon a tray click held back by a waiting action is tried again.
constexpr int kTrayClickRetry = 50;

}  // namespace

frmMain::frmMain(App& app)
    : Form(app.platform.toolkit, "frmMain",
           {.caption = "Webkeeper",
            .clientWidth = 1800,
            .clientHeight = 1200,
            .border = forms::BorderStyle::FixedSingle,
            .icon = kProgramIcon}),
      List1(*this, "List1", {}, -1),
      List2(*this, "List2", {}, -1),
      List3(*this, "List3", {}, -1),
      Timer1(*this, "Timer1", 250, true),
      timTarnwick(*this, "timTarnwick", 250, true),
      tmrTimeDelay(*this, "tmrTimeDelay", 0, false),
      timEarlyScan(*this, "timEarlyScan", kEarlyScanPeriod, true),
      tmrTrayClick(*this, "tmrTrayClick", kTrayClickRetry, false),
      mnufile(*this, "mnufile", "&File"),
      mnuTWKSetup(*this, "mnuTWKSetup", "Configure...", &mnufile),
      mnub1(*this, "mnub1", "-", &mnufile),
      mnuReactivate(*this, "mnuReactivate", "Lock All", &mnufile),
      mnuDeactivate(*this, "mnuDeactivate", "Unlock All", &mnufile),
      mnub2(*this, "mnub2", "-", &mnufile),
      mnuAbout(*this, "mnuAbout", "About", &mnufile),
      mnuClose(*this, "mnuClose", "Cancel", &mnufile),
      mnufile2(*this, "mnufile2", "File2"),
      mnuLockAllWindows2(*this, "mnuLockAllWindows2", "Lock All", &mnufile2),
      mnub3(*this, "mnub3", "-", &mnufile2),
      mnuabout2(*this, "mnuabout2", "About", &mnufile2),
      mnuCloseMenu2(*this, "mnuCloseMenu2", "Cancel", &mnufile2),
      app_(app),
      watch_(app.platform.registry, [this] { app_.shared.ReloadPending = true; }) {
  for (forms::ListBox* list : {&List1, &List2, &List3}) list->design.visible = false;
  mnufile.design.visible = false;
  mnufile2.design.visible = false;
  mnuReactivate.design.enabled = false;
  mnuLockAllWindows2.design.enabled = false;

  Timer1.onTimer = [this] { Timer1_Timer(); };
  timTarnwick.onTimer = [this] { timTarnwick_Timer(); };
  tmrTimeDelay.onTimer = [this] { tmrTimeDelay_Timer(); };
  timEarlyScan.onTimer = [this] { timEarlyScan_Timer(); };
  tmrTrayClick.onTimer = [this] { tmrTrayClick_Timer(); };
  // The look reads and compares; a change it finds runs the scan tick. Both ticks make ready
  // themselves before doing more than looking, and share the wake-up of the look, or of each
  // other once the reports replace the look: an idle monitor wakes for nothing else.
  timEarlyScan.quiet = true;
  for (forms::Timer* tick : {&Timer1, &timTarnwick}) {
    tick->quiet = true;
    tick->slack = kEarlyScanPeriod;
  }
  mnuTWKSetup.onClick = [this] { mnuTWKSetup_Click(); };
  mnuDeactivate.onClick = [this] { mnuDeactivate_Click(); };
  mnuReactivate.onClick = [this] { mnuReactivate_Click(); };
  mnuLockAllWindows2.onClick = [this] { mnuLockAllWindows2_Click(); };
  mnuAbout.onClick = [this] { mnuAbout_Click(); };
  mnuabout2.onClick = [this] { mnuabout2_Click(); };
}

void frmMain::Form_Load() {
  Shared& shared = app_.shared;
  TargetWindow = 0;
  TargetTitle.clear();
  HideMenuOn = false;
  NoPasswordPrompt = false;

  shared.AppFolder = app_.platform.process.ProgramFolder() + "\\";
  shared.UnlockAllAllowed = true;

  // Our own form still carries its design caption, so only a running copy can match. Only a
  // window of our own class counts: Explorer titles a folder named Pagewarden the same way, and
  // a guard that anyone can keep from starting is no guard. The guard the watchdog service
  // started is the session's own and steps aside for no window at all: any program can make one
  // of that class and caption.
  if (!app_.platform.process.SessionGuard() &&
      app_.platform.windows.FindWindowA(forms::kFormClassName, kMonitorCaption) != 0) {
    // A second copy: the running monitor sees our about box's caption and opens its setup.
    timTarnwick.SetEnabled(false);
    Timer1.SetEnabled(false);
    timEarlyScan.SetEnabled(false);
    app_.about.SetCaption(kSecondCopyCaption);
    app_.about.Show();
    WaitForTimeDelay(1000);
    app_.platform.process.EndNow(static_cast<std::uint32_t>(ExitCode::Plain));
  }

  SetCaption(kMonitorCaption);
  app_.heartbeat.Start();
  // Where the system reports a change in front, the look comes at once instead of within a
  // period.
  app_.platform.foregroundEvents.Watch(
      [this](ForegroundEvents::Change change) { FrontChangeReported(change); });
  app_.module1.AddTrayIcon();
  watch_.Restart();
  GetWindows();
  GetSettings();
}

void frmMain::FrontChangeReported(ForegroundEvents::Change change) {
  // The system's own reports (the foreground, titles) replace the look every period, so an idle
  // monitor wakes only for its two 250 ms timers; the scan ticks stay the safety net for anything
  // a report misses. Where only the focus is reported (Wine), the look is left to find title
  // changes, which may wait a little longer than a new window in front.
  if (change != ForegroundEvents::Change::Focus) titlesReported_ = true;
  const int period = titlesReported_ ? kReportedLookPeriod : kTitleLookPeriod;
  if (timEarlyScan.Interval() != period) timEarlyScan.SetInterval(period);
  timEarlyScan.Hurry();
}

void frmMain::Form_Unload() {
  watch_.Stop();
}

void frmMain::Timer1_Timer() {
  // A menu left open over a prompt's wait would hold that wait past its end, and a scan tick or
  // tray action below it with the wait.
  if (menuOverWait_ && PromptWaitOver()) ClosePopupMenu();

  // A second copy of the program asks for the setup by showing its about box under this caption
  // for about a second; an installer or any other program's window with that caption asks for
  // nothing. Each request is served once: answering the prompt within that second must not bring
  // the prompt back for the same window.
  const Hwnd request = app_.platform.windows.FindWindowA(forms::kFormClassName, kSecondCopyCaption);
  if (request == 0) {
    servedSetupRequest_ = 0;
  } else if (request != servedSetupRequest_ && !WaitingWithoutPrompt()) {
    servedSetupRequest_ = request;
    Tk().BeforeHandler();
    mnuTWKSetup_Click();
  }

  Shared& shared = app_.shared;
  // A settings key created since the last reload has not been watched: its values are news.
  if (watch_.KeyAppeared()) shared.ReloadPending = true;
  // A reload forgets the password just accepted; inside a stop action it would refuse the
  // window its prompt has let live. The stop action serves one already due before it asks.
  if (!shared.ReloadPending || stopDepth_ > 0) return;
  Tk().BeforeHandler();
  ReloadSettings();
}

void frmMain::ReloadSettings() {
  Shared& shared = app_.shared;
  shared.ReloadPending = false;
  shared.PasswordAccepted = false;
  // Lock All, or a change of the settings, ends an Unlock All.
  if (shared.AllUnlocked) app_.keeper.Report(history::EntryOf(history::Kind::LockAll));
  shared.AllUnlocked = false;
  // What changes from here on is seen by the next reload; what changed before, by this one.
  watch_.Restart();
  GetWindows();
  GetSettings();
  ShowAllUnlocked(false);
}

void frmMain::ShowAllUnlocked(bool unlocked) {
  timTarnwick.SetEnabled(!unlocked);
  mnuDeactivate.SetEnabled(!unlocked);
  mnuReactivate.SetEnabled(unlocked);
  mnuLockAllWindows2.SetEnabled(unlocked);
}

void frmMain::StartTimeDelay(int interval) {
  tmrTimeDelay.SetInterval(interval);
  tmrTimeDelay.SetEnabled(true);
}

void frmMain::WaitForTimeDelay(int interval) {
  StartTimeDelay(interval);
  while (tmrTimeDelay.Enabled()) app_.platform.toolkit.DoEvents();
}

void frmMain::tmrTimeDelay_Timer() {
  tmrTimeDelay.SetEnabled(false);
}

void frmMain::GetWindows() {
  List1.Clear();
  List3.Clear();
  std::vector<forms::ListEntry> words;
  // Only active entries count, in the form the scan compares.
  for (const WordEntry& entry : ReadWordEntries(app_.registry)) {
    if (entry.active) words.push_back({app_.platform.text.ReaderForm(entry.text)});
  }
  List1.AddItems(std::move(words));
}

void frmMain::GetSettings() {
  Shared& shared = app_.shared;
  const Settings settings = ReadSettings(app_.registry);
  const Preferences& preferences = settings.preferences;
  shared.UnlockPassword = LeftChars(settings.unlockPassword, kPasswordLength);
  shared.SetupPassword = LeftChars(settings.setupPassword, kPasswordLength);
  shared.BrowserTitle = preferences.browser.empty() ? kDefaultBrowserTitle : preferences.browser;
  NoPasswordPrompt = preferences.noPasswordPrompt;
  if (preferences.disableMenu) {
    app_.module1.DeleteTrayIcon();
  } else {
    app_.module1.AddTrayIcon();
  }
  HideMenuOn = preferences.hideMenu;
  WatchEveryBrowser = preferences.watchEveryBrowser;
  shared.TimeDelay = settings.timeDelay;
}

}  // namespace pw
