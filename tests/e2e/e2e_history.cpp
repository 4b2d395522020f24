// The record of stops under Wine, with the package's service: a refused, an unanswered and an
// allowed stop, read back in the History window and in its CSV export.
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "history/record_file.h"
#include "owner/protocol.h"

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
  return PromptInFrontOf(d, c, page, "the page is stopped: " + title);
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

// One request to the owner's pipe as any program sends it; whether a reply came.
bool Exchange(const std::vector<std::uint8_t>& message) {
  const wchar_t* name = L"\\\\.\\pipe\\Pagewarden.Owner";
  HANDLE pipe = INVALID_HANDLE_VALUE;
  // One client at a time: the one before may still be being let go.
  for (int attempt = 0; attempt < 3 && pipe == INVALID_HANDLE_VALUE; ++attempt) {
    pipe = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PIPE_BUSY)
      WaitNamedPipeW(name, 2000);
  }
  if (pipe == INVALID_HANDLE_VALUE) return false;
  DWORD mode = PIPE_READMODE_MESSAGE;
  SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr);
  char reply[64] = {};
  DWORD got = 0;
  DWORD put = 0;
  const bool ok =
      WriteFile(pipe, message.data(), static_cast<DWORD>(message.size()), &put, nullptr) &&
      ReadFile(pipe, reply, sizeof reply, &got, nullptr);
  CloseHandle(pipe);
  return ok;
}

std::wstring RecordPath() {
  PWSTR data = nullptr;
  std::wstring path;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &data))) {
    path = std::wstring(data) + L"\\Pagewarden\\history.dat";
  }
  CoTaskMemFree(data);
  return path;
}

DWORD ServiceState() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (manager == nullptr) return 0;
  SERVICE_STATUS status{};
  SC_HANDLE service = OpenServiceA(manager, "PagewardenWatchdog", SERVICE_QUERY_STATUS);
  if (service != nullptr) {
    QueryServiceStatus(service, &status);
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return status.dwCurrentState;
}

bool PipeThere() {
  return WaitNamedPipeW(L"\\\\.\\pipe\\Pagewarden.Owner", 0) != FALSE;
}

// Stopped means the manager says so, not just that the pipe went: a start asked for while the
// last process is still on its way out is refused. A start is asked for again until it takes.
bool ServiceRunning(Driver& d, bool running) {
  if (!running) {
    Run("sc stop PagewardenWatchdog");
    return d.WaitFor([] { return ServiceState() == SERVICE_STOPPED && !PipeThere(); }, 15000);
  }
  for (int attempt = 0; attempt < 4; ++attempt) {
    Run("sc start PagewardenWatchdog");
    if (d.WaitFor([] { return PipeThere(); }, 5000)) return true;
  }
  return false;
}

}  // namespace

void MeasureHistory(Driver& d, Check& c, const std::string& setupPw) {
  // A full record, put in place while the service is stopped: 10,000 stops.
  c.That(ServiceRunning(d, false), "the service stops");
  std::vector<history::Entry> entries;
  for (int i = 0; i < 10000; ++i) {
    history::Entry e = history::EntryOf(history::Kind::Stop);
    e.outcome = i % 3 == 0 ? history::Outcome::Refused : history::Outcome::Allowed;
    e.wrongAnswers = i % 3 == 0 ? 2 : 0;
    e.time = 1796688000 + i * 60;
    e.user = "PC\\child";
    e.program = "firefox.exe";
    e.title = "Poker page number " + std::to_string(i) + " - Pagewarden Test Browser";
    e.word = "poker";
    entries.push_back(e);
  }
  const auto image = history::Image(entries);
  HANDLE file = CreateFileW(RecordPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  c.That(file != INVALID_HANDLE_VALUE &&
             WriteFile(file, image.data(), static_cast<DWORD>(image.size()), &written, nullptr) &&
             written == image.size(),
         "a full record is written while the service is stopped");
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  c.That(ServiceRunning(d, true), "the service starts again with a full record");

  // What recording adds to a stop: the guard's report, answered before the entry goes to the
  // event log and the flushed file. A guard's stops come at most about two a second.
  history::Entry stop = entries.back();
  const std::vector<std::uint8_t> bytes = history::Encode(stop);
  const auto report =
      owner::Encode(owner::Request{owner::Ask::Report, {std::string(bytes.begin(), bytes.end())}});
  std::vector<double> times;
  DWORD error = 0;
  for (int i = 0; i < 21; ++i) {
    d.Pause(500);
    const double start = PreciseMs();
    if (Exchange(report)) {
      times.push_back(PreciseMs() - start);
    } else {
      error = GetLastError();
    }
  }
  std::sort(times.begin(), times.end());
  c.That(times.size() == 21, "every report is answered; " + std::to_string(times.size()) +
                                 " were, the last failure Windows error " + std::to_string(error));
  if (!times.empty()) {
    std::printf(
        "MEASURE recording a stop (the report to the service, answered before it is written): "
        "median %.1f ms, slowest %.1f ms of %zu\n",
        times[times.size() / 2], times.back(), times.size());
  }

  HWND setup = OpenSetup(d, c, setupPw);
  if (setup == nullptr) return;
  SetForegroundWindow(setup);
  d.WaitFor([&] { return GetForegroundWindow() == setup; }, kPatience);
  const double start = PreciseMs();
  PressWith(VK_MENU, 'S');
  PressKey('H');
  HWND history = nullptr;
  int rows = 0;
  d.WaitFor(
      [&] {
        if (history == nullptr) history = d.FindVisible("Pagewarden History");
        if (history == nullptr) return false;
        RemoteListView list(d.FirstChild(history, "SysListView32"));
        rows = list.Usable() ? list.Count() : 0;
        return rows == 500;
      },
      10000);
  const double opened = PreciseMs() - start;
  c.That(rows == 500, "the History window shows the newest 500 of a full record");
  std::printf("MEASURE opening the History window with 10,000 entries: %.0f ms (%d rows)\n", opened,
              rows);
  std::fflush(stdout);
  if (history != nullptr) d.Press(history, "Close");
  d.Press(setup, "Cancel");
}

void HistoryOfStops(Driver& d, Check& c, const std::string& unlock, const std::string& setupPw,
                    const std::function<void(HWND)>& shown) {
  // Passwords of its own, taken in by the service, whatever the scenarios before left.
  const char* key = "HKLM\\SOFTWARE\\Tarnwick\\Addon2\\Settings";
  Run(std::string("reg add \"") + key + "\" /v UserPassword /d \"" + unlock + "\" /f /reg:32");
  Run(std::string("reg add \"") + key + "\" /v UserPassword2 /d \"" + setupPw + "\" /f /reg:32");
  c.That(d.WaitFor(
             [&] {
               return d.GetSetting("UserPassword").empty() && d.GetSetting("UserPassword2").empty();
             },
             5000),
         "the service takes in the passwords");
  // The service hashes at each change of the settings key (about 0.6 s a password under Wine),
  // and the guard reloads its settings: both settle first.
  d.Pause(4000);
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
    d.Type(d.FirstChild(prompt, "Edit"), unlock);
    d.Press(prompt, "OK");
    c.That(PromptGone(d) && d.Alive(*allowedPage) && allowedPage->closeRequests == 0,
           "the right password lets the third page live");
  }

  // The guard reports once the prompt is gone; the service may still be busy with the check.
  d.Pause(3000);
  HWND setup = OpenSetup(d, c, setupPw);
  if (setup == nullptr) return;
  HWND history = FromSettingsMenu(d, setup, 'H', "Pagewarden History");
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

  if (shown) shown(history);

  // Export..., into the common Save dialog.
  const std::string path = "C:\\pagewarden-history.csv";
  DeleteFileA(path.c_str());
  d.Press(history, "&Export...");
  HWND save = WaitForVisible(d, "Save");
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
