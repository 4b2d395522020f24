#pragma once

#include <memory>
#include <vector>

#include "platform/forms/view.h"

namespace pw::sim {

class SimHost;
class FormMirror;

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

  // Compares what every open window shows with its model; throws a SimFault that names each
  // difference. The process's event loop calls it after every event.
  void CheckViews() const;
  void Add(const FormMirror* mirror) { mirrors_.push_back(mirror); }
  void Remove(const FormMirror* mirror) { std::erase(mirrors_, mirror); }

 private:
  SimHost& host_;
  std::vector<const FormMirror*> mirrors_;
};

}  // namespace pw::sim
