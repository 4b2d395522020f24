#pragma once

#include <memory>

#include "platform/forms/view.h"

namespace pw::sim {

class SimHost;

using forms::kFormClassName;
inline constexpr std::uint32_t WM_QUERYENDSESSION_ = 0x0011;
inline constexpr std::uint32_t WM_ENDSESSION_ = 0x0016;
inline constexpr std::int64_t ENDSESSION_CLOSEAPP_ = 0x1;

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
