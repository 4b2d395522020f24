#pragma once

#include <memory>
#include <vector>

#include "platform/forms/view.h"
#include "platform/win32_constants.h"

namespace pw::sim {

class SimHost;
class FormMirror;

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
