#pragma once

#include "platform/forms/form.h"

namespace pw {

class App;

class frmModify : public forms::Form {
 public:
  explicit frmModify(App& app);

 private:
  App& app_;
};

}  // namespace pw
