#pragma once

#include "platform/forms/form.h"

namespace pw {

class App;

class frmPassword : public forms::Form {
 public:
  explicit frmPassword(App& app);

 private:
  App& app_;
};

}  // namespace pw
