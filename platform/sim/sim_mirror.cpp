#include "platform/sim/sim_mirror.h"

#include <cstdio>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/menu.h"

namespace pw::sim {

namespace {

using forms::Prop;

// Whether a refresh for `what` covers `shown` (everything when `what` is empty).
bool Covers(std::optional<Prop> what, Prop shown) {
  return !what || *what == shown;
}

std::string Quoted(const std::string& text) {
  return '"' + text + '"';
}

std::string Flag(bool on) {
  return on ? "true" : "false";
}

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

std::string Describe(const forms::ListEntry& entry) {
  return Quoted(entry.text) + (entry.checked ? " (checked)" : "");
}

std::string Entries(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " entry" : " entries");
}

std::vector<forms::ListEntry> EntriesOf(forms::ListBox& list) {
  std::vector<forms::ListEntry> entries;
  const int count = list.ListCount();
  entries.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) entries.push_back({list.List(i), list.Selected(i)});
  return entries;
}

std::string MenuState(forms::MenuItem& item) {
  return Quoted(item.Caption()) + (item.Enabled() ? "" : " disabled") +
         (item.Checked() ? " checked" : "") + (item.Visible() ? "" : " hidden");
}

}  // namespace

FormMirror::FormMirror(forms::Form& form) : form_(form) {
  images_.push_back(Fresh(nullptr));
  for (forms::Member* member : form.Members()) {
    if (auto* control = dynamic_cast<forms::Control*>(member)) images_.push_back(Fresh(control));
  }
}

FormMirror::Image FormMirror::Fresh(forms::Control* control) const {
  Image image;
  image.control = control;
  Read(control, std::nullopt, image);
  return image;
}

FormMirror::Image* FormMirror::Find(const forms::Control* control) {
  for (Image& image : images_) {
    if (image.control == control) return &image;
  }
  return nullptr;
}

void FormMirror::Read(forms::Control* control, std::optional<Prop> what, Image& image) const {
  auto set = [&image](std::string name, std::string value) {
    for (Facet& facet : image.facets) {
      if (facet.name == name) {
        facet.value = std::move(value);
        return;
      }
    }
    image.facets.push_back({std::move(name), std::move(value)});
  };
  if (control == nullptr) {
    forms::Form& form = form_;
    if (Covers(what, Prop::Caption)) set("caption", Quoted(form.Caption()));
    if (Covers(what, Prop::Visible)) set("visible", Flag(form.Visible()));
    if (Covers(what, Prop::Enabled)) set("enabled", Flag(form.Enabled()));
    if (Covers(what, Prop::Position)) {
      set("position", std::to_string(form.Left()) + "," + std::to_string(form.Top()));
    }
    if (Covers(what, Prop::Focus)) {
      const forms::Control* active = form.ActiveControl();
      set("focus", active != nullptr ? active->Name() : "none");
    }
    // A native menu bar is built again from every item.
    if (Covers(what, Prop::Menu)) {
      for (forms::Member* member : form.Members()) {
        if (auto* item = dynamic_cast<forms::MenuItem*>(member)) {
          set("menu " + item->Name(), MenuState(*item));
        }
      }
    }
    return;
  }
  if (Covers(what, Prop::Visible)) set("visible", Flag(control->Visible()));
  if (Covers(what, Prop::Enabled)) set("enabled", Flag(control->Enabled()));
  if (Covers(what, Prop::Position)) {
    const forms::Bounds b = control->Position();
    set("position", std::to_string(b.left) + "," + std::to_string(b.top) + " " +
                        std::to_string(b.width) + "x" + std::to_string(b.height));
  }
  if (auto* label = dynamic_cast<forms::Label*>(control)) {
    if (Covers(what, Prop::Caption)) set("caption", Quoted(label->Caption()));
    if (Covers(what, Prop::ForeColor)) set("colour", Hex(label->ForeColor()));
  } else if (auto* button = dynamic_cast<forms::CommandButton*>(control)) {
    if (Covers(what, Prop::Caption)) set("caption", Quoted(button->Caption()));
    if (Covers(what, Prop::Default)) set("default", Flag(button->Default()));
    if (Covers(what, Prop::Cancel)) set("cancel", Flag(button->Cancel()));
  } else if (auto* text = dynamic_cast<forms::TextBox*>(control)) {
    if (Covers(what, Prop::Text)) set("text", Quoted(text->Text()));
    // Setting the text moves the caret, so a view shows the selection again with it.
    if (Covers(what, Prop::Text) || Covers(what, Prop::Selection)) {
      set("selection", std::to_string(text->SelStart()) + "+" + std::to_string(text->SelLength()));
    }
  } else if (auto* check = dynamic_cast<forms::CheckBox*>(control)) {
    if (Covers(what, Prop::Value)) set("value", std::to_string(check->Value()));
  } else if (auto* picture = dynamic_cast<forms::Picture*>(control)) {
    if (Covers(what, Prop::Picture)) set("picture", Quoted(picture->Resource()));
  } else if (auto* list = dynamic_cast<forms::ListBox*>(control)) {
    if (Covers(what, Prop::Items)) image.entries = EntriesOf(*list);
    // The views show the current entry again after any change of the entries.
    if (Covers(what, Prop::Items) || Covers(what, Prop::ListIndex)) {
      set("current entry", std::to_string(list->ListIndex()));
    }
  }
}

void FormMirror::ApplyToList(Image& image, forms::ListBox& list, Prop what) const {
  const int index = list.ChangedEntry();
  auto& entries = image.entries;
  const int count = static_cast<int>(entries.size());
  const bool known =
      what == Prop::ItemAdded ? index >= 0 && index <= count : index >= 0 && index < count;
  if (!known) {
    if (image.fault.empty()) {
      image.fault = "was told of entry " + std::to_string(index) + " while it holds " +
                    Entries(entries.size());
    }
    return;
  }
  const auto at = entries.begin() + index;
  if (what == Prop::ItemAdded) {
    entries.insert(at, {list.List(index), list.Selected(index)});
  } else if (what == Prop::ItemRemoved) {
    entries.erase(at);
  } else {
    at->checked = list.Selected(index);
    return;
  }
  Read(image.control, Prop::ListIndex, image);
}

void FormMirror::Changed(const forms::Control* control, Prop what) {
  if (control == nullptr && what == Prop::Loaded) {
    live_ = false;
    return;
  }
  if (what == Prop::Focus) {
    // The form keeps which control has the focus.
    Image& form = images_.front();
    for (Facet& facet : form.facets) {
      if (facet.name == "focus") facet.value = control != nullptr ? control->Name() : "none";
    }
    return;
  }
  Image* image = Find(control);
  if (image == nullptr) return;
  auto* list = dynamic_cast<forms::ListBox*>(image->control);
  if (list != nullptr &&
      (what == Prop::ItemAdded || what == Prop::ItemRemoved || what == Prop::Value)) {
    ApplyToList(*image, *list, what);
    return;
  }
  Read(image->control, what, *image);
}

std::vector<std::string> FormMirror::Differences() const {
  std::vector<std::string> found;
  for (const Image& shown : images_) {
    auto where = [&] {
      return form_.Name() + (shown.control != nullptr ? "." + shown.control->Name() : "") + ": ";
    };
    if (!shown.fault.empty()) found.push_back(where() + "the view " + shown.fault);
    const Image model = Fresh(shown.control);
    for (std::size_t i = 0; i < model.facets.size(); ++i) {
      const Facet& has = model.facets[i];
      // Both were read in the same order; only a facet read later may sit elsewhere.
      const Facet* seen =
          i < shown.facets.size() && shown.facets[i].name == has.name ? &shown.facets[i] : nullptr;
      for (std::size_t j = 0; seen == nullptr && j < shown.facets.size(); ++j) {
        if (shown.facets[j].name == has.name) seen = &shown.facets[j];
      }
      const std::string value = seen != nullptr ? seen->value : "nothing";
      if (value != has.value) {
        found.push_back(where() + "the view shows " + has.name + " " + value +
                        " where the model has " + has.value);
      }
    }
    if (shown.entries.size() != model.entries.size()) {
      found.push_back(where() + "the view holds " + Entries(shown.entries.size()) +
                      " where the model has " + Entries(model.entries.size()));
      continue;
    }
    for (std::size_t i = 0; i < shown.entries.size(); ++i) {
      const forms::ListEntry& a = shown.entries[i];
      const forms::ListEntry& b = model.entries[i];
      if (a.text != b.text || a.checked != b.checked) {
        found.push_back(where() + "the view shows entry " + std::to_string(i) + " as " +
                        Describe(a) + " where the model has " + Describe(b));
        break;
      }
    }
  }
  return found;
}

}  // namespace pw::sim
