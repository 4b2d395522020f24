#pragma once

#include "platform/forms/form.h"

namespace pw {

class App;

class frmChangePassword : public forms::Form {
 public:
  explicit frmChangePassword(App& app);

 private:
  App& app_;
};

}  // namespace pw
