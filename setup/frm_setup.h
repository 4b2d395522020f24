#pragma once

#include "platform/forms/form.h"

namespace pw {

class App;

class frmSetup : public forms::Form {
 public:
  explicit frmSetup(App& app);

 private:
  App& app_;
};

}  // namespace pw
