#pragma once

#include "platform/forms/controls.h"
#include "platform/forms/form.h"

#include <string>

namespace pw {

class App;

// Rewrites the current entry of the setup window's list.
class frmModify : public forms::Form {
 public:
  explicit frmModify(App& app);

  forms::Label Label1;
  forms::TextBox txtModify;
  forms::CommandButton cmdOK;
  forms::CommandButton cmdCancel;

  // Shows the dialog with the entry to rewrite.
  void Edit(const std::string& text);

  void cmdOK_Click();
  void cmdCancel_Click();

 protected:
  void Form_Unload() override;

 private:
  App& app_;
};

}  // namespace pw
