#pragma once

#include "platform/forms/form.h"

namespace pw {

class App;

class frmAddWizard : public forms::Form {
 public:
  explicit frmAddWizard(App& app);

 private:
  App& app_;
};

}  // namespace pw
