#pragma once

#include "platform/forms/controls.h"
#include "platform/forms/form.h"

namespace pw {

class App;

// Two pages that add one word to the setup window's list, ticked. The caption of cmdNext tells
// which page is shown.
class frmAddWizard : public forms::Form {
 public:
  explicit frmAddWizard(App& app);

  forms::Picture Image1;
  forms::Label Label1;
  forms::Label Label2;
  forms::TextBox txtWindow;
  forms::Line Line2;
  forms::Line Line1;
  forms::CommandButton cmdBack;
  forms::CommandButton cmdNext;
  forms::CommandButton cmdCancel;

  void txtWindow_Change();
  void cmdNext_Click();
  void cmdBack_Click();
  void cmdCancel_Click();

 protected:
  void Form_Load() override;
  void Form_Unload() override;

 private:
  void Finish();
  void FocusEntry();

  App& app_;
};

}  // namespace pw
