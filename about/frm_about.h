#pragma once

#include <string>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"

namespace pw {

class App;

// Title, version and the program icon; shown without modality.
class frmabout : public forms::Form {
 public:
  explicit frmabout(App& app);

  forms::Picture Image1;
  forms::Label Label1;
  forms::CommandButton Command1;

  void Command1_Click();

  // "Pagewarden 1.0.2", from the build's version numbers.
  static std::string TitleAndVersion();

 protected:
  void Form_Load() override;

 private:
  App& app_;
};

}  // namespace pw
