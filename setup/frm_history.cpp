#include "setup/frm_history.h"

#include <algorithm>
#include <limits>

#include "app/app.h"
#include "base/names.h"
#include "history/csv.h"

namespace pw {

namespace {

constexpr const char* kNoService =
    "The history is kept by the Pagewarden service, which is not running. Without it, each "
    "stop is written to the Windows event log (Application, source Pagewarden).";

}  // namespace

std::vector<std::string> HistoryRow(const history::Entry& e) {
  std::string outcome = history::OutcomeText(e);
  if (!e.detail.empty()) outcome += ": " + e.detail;
  return {history::TimeText(e.time), e.user, e.program, e.title, e.word, outcome};
}

frmHistory::frmHistory(App& app)
    : Form(app.platform.toolkit, "frmHistory",
           forms::DialogDesign("Pagewarden History", 12000, 6120, kProgramIcon)),
      lvwHistory(*this, "lvwHistory", {120, 120, 11760, 5400}, 0,
                 {{"Time (UTC)", 1800},
                  {"User", 1500},
                  {"Program", 1300},
                  {"Title", 3600},
                  {"Word", 1100},
                  {"Outcome", 2400}}),
      lblStatus(*this, "lblStatus", "", {120, 5640, 9240, 480}),
      cmdExport(*this, "cmdExport", "&Export...", {9480, 5640, 1140, 360}, 1),
      cmdClose(*this, "cmdClose", "Close", {10740, 5640, 1140, 360}, 2),
      app_(app) {
  lblStatus.design.tabIndex = 3;
  cmdClose.design.isCancel = true;

  cmdExport.onClick = [this] { cmdExport_Click(); };
  cmdClose.onClick = [this] { cmdClose_Click(); };
}

void frmHistory::Form_Load() {
  const auto read = app_.keeper.ReadHistory(app_.shared.SetupEntry, kShown);
  std::vector<std::vector<std::string>> rows;
  rows.reserve(read.entries.size());
  for (const history::Entry& entry : read.entries) rows.push_back(HistoryRow(entry));
  lvwHistory.SetRows(std::move(rows));
  if (read.reply.answer != owner::Answer::Right) {
    lblStatus.SetCaption(Refusal(read.reply));
    cmdExport.SetEnabled(false);
    return;
  }
  lblStatus.SetCaption(read.entries.empty()
                           ? "Nothing has been recorded yet."
                           : "The newest " + std::to_string(read.entries.size()) +
                                 " entries, newest first. Export writes all of them.");
}

void frmHistory::Form_Unload() {
  app_.setup.ChildClosed();
}

std::string frmHistory::Refusal(const owner::Reply& reply) {
  if (reply.answer == owner::Answer::Failed && !app_.keeper.ServiceKeeps()) return kNoService;
  return owner::Explain(reply, "The service could not read its record.");
}

void frmHistory::cmdExport_Click() {
  Shell& shell = app_.platform.shell;
  const auto path = shell.ChooseSaveFile(hWnd(), "pagewarden-history.csv");
  if (!path) return;
  auto read =
      app_.keeper.ReadHistory(app_.shared.SetupEntry, std::numeric_limits<std::size_t>::max());
  if (read.reply.answer != owner::Answer::Right) {
    lblStatus.SetCaption(Refusal(read.reply));
    return;
  }
  // Oldest first in the file, as a log reads.
  std::reverse(read.entries.begin(), read.entries.end());
  if (!shell.WriteWholeFile(*path, history::Csv(read.entries))) {
    lblStatus.SetCaption("Could not write " + *path + ".");
    return;
  }
  lblStatus.SetCaption("Exported " + std::to_string(read.entries.size()) + " entries to " + *path +
                       ".");
}

void frmHistory::cmdClose_Click() {
  Unload();
}

}  // namespace pw
