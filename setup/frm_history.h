#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "history/entry.h"
#include "owner/protocol.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/list_view.h"

namespace pw {

class App;

// What happened while the owner was away: the newest entries of the service's record, read
// with the setup password the setup window was opened with, and an export of all of them.
class frmHistory : public forms::Form {
 public:
  static constexpr std::size_t kShown = 500;

  explicit frmHistory(App& app);

  forms::ListView lvwHistory;
  forms::Label lblStatus;
  forms::CommandButton cmdExport;
  forms::CommandButton cmdClose;

  void cmdExport_Click();
  void cmdClose_Click();

 protected:
  void Form_Load() override;
  void Form_Unload() override;

 private:
  // The status line for a read that was refused or did not reach the service.
  std::string Refusal(const owner::Reply& reply);

  App& app_;
};

// A row of the window: time, user, program, title, word, outcome (with what changed, or why).
std::vector<std::string> HistoryRow(const history::Entry& entry);

}  // namespace pw
