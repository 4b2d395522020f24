#pragma once

#include <memory>

#include "platform/forms/view.h"
#include "platform/win32_constants.h"

namespace pw::sim {

class SimHost;

using forms::kFormClassName;
// The end-session messages a simulated session sends, also by their sim:: names.
using pw::ENDSESSION_CLOSEAPP_;
using pw::WM_ENDSESSION_;
using pw::WM_QUERYENDSESSION_;

// Forms appear on the simulated desktop as top-level windows of their process.
class SimViewFactory : public forms::ViewFactory {
 public:
  explicit SimViewFactory(SimHost& host) : host_(host) {}

  std::unique_ptr<forms::FormView> CreateView(forms::Form& form) override;
  forms::ScreenInfo Screen() const override;

 private:
  SimHost& host_;
};

}  // namespace pw::sim
