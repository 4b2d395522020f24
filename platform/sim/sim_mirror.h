#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/forms/list_box.h"
#include "platform/forms/view.h"

namespace pw::forms {
class Form;
class Control;
}  // namespace pw::forms

namespace pw::sim {

// What the native window of one form would show: taken from the model when the window is made,
// then changed only by the notifications the model sends, each refreshing what a native view
// refreshes for it. Differences() compares it with the model, so a setter that forgets to tell
// its view is found on Linux and not only under Wine.
class FormMirror {
 public:
  explicit FormMirror(forms::Form& form);

  // False once the form has unloaded; its window is gone.
  bool Live() const { return live_; }

  void Changed(const forms::Control* control, forms::Prop what);
  // One line for each thing shown that is not what the model holds; empty when in step.
  std::vector<std::string> Differences() const;

 private:
  // What one window shows, by name, as text, in the order read.
  struct Facet {
    std::string name;
    std::string value;
  };
  using Facets = std::vector<Facet>;
  struct Image {
    forms::Control* control = nullptr;  // null: the form itself
    Facets facets;
    std::vector<forms::ListEntry> entries;  // for lists
    std::string fault;                      // a change that named an entry the view does not have
  };

  // Everything the window of a control (null: of the form) shows, as the model has it now.
  Image Fresh(forms::Control* control) const;
  Image* Find(const forms::Control* control);
  // Reads what a view refreshes for one change, or everything when `what` is empty.
  void Read(forms::Control* control, std::optional<forms::Prop> what, Image& image) const;
  void ApplyToList(Image& image, forms::ListBox& list, forms::Prop what) const;

  forms::Form& form_;
  std::vector<Image> images_;  // the form first, then its controls in member order
  bool live_ = true;
};

}  // namespace pw::sim
