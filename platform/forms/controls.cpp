#include "platform/forms/controls.h"

#include <algorithm>

#include "platform/forms/form.h"
#include "platform/forms/toolkit.h"

namespace pw::forms {

namespace {

// What a control is designed with: its place, its place in the tab order (-1: none) and its one
// text, be that a caption, a text or a picture's name.
template <class State>
State Design(std::string State::*text, std::string value, Bounds bounds, int tabIndex) {
  State state;
  state.bounds = bounds;
  state.tabIndex = tabIndex;
  state.*text = std::move(value);
  return state;
}

}  // namespace

Label::Label(Form& form, std::string name, std::string caption, Bounds bounds)
    : ControlOf(form, std::move(name),
                Design(&LabelState::caption, std::move(caption), bounds, -1)) {}

CommandButton::CommandButton(Form& form, std::string name, std::string caption, Bounds bounds,
                             int tabIndex)
    : ControlOf(form, std::move(name),
                Design(&ButtonState::caption, std::move(caption), bounds, tabIndex)) {}

void CommandButton::SetRole(bool ButtonState::*role, bool has, Prop what) {
  if (has) {
    for (Member* member : Owner().Members()) {
      auto* other = dynamic_cast<CommandButton*>(member);
      if (other != nullptr && other != this) other->SetRole(role, false, what);
    }
  }
  Change(Cur().*role, has, what);
}

void CommandButton::Press() {
  if (!Visible() || !Enabled() || !Owner().Enabled() || !onClick) return;
  Owner().Tk().Raise(onClick);
}

TextBox::TextBox(Form& form, std::string name, std::string text, Bounds bounds, int tabIndex)
    : ControlOf(form, std::move(name),
                Design(&TextBoxState::text, std::move(text), bounds, tabIndex)) {}

void TextBox::SetText(std::string text) {
  if (Cur().text == text) return;
  Cur().text = std::move(text);
  const int length = static_cast<int>(Cur().text.size());
  Cur().selStart = std::min(Cur().selStart, length);
  Cur().selLength = 0;
  Notify(Prop::Text);
  if (onChange) onChange();
}

void TextBox::SetSelection(int start, int length) {
  const int size = static_cast<int>(Cur().text.size());
  start = std::clamp(start, 0, size);
  length = std::clamp(length, 0, size - start);
  Cur().selStart = start;
  Cur().selLength = length;
  Notify(Prop::Selection);
}

void TextBox::Type(const std::string& typed) {
  if (!Visible() || !Enabled() || !Owner().Enabled()) return;
  for (char c : typed) {
    TextBoxState& s = Cur();
    const std::size_t start = static_cast<std::size_t>(s.selStart);
    std::string next = s.text.substr(0, start) + s.text.substr(start + s.selLength);
    if (s.maxLength > 0 && next.size() >= static_cast<std::size_t>(s.maxLength)) continue;
    next.insert(start, 1, c);
    SetText(next);
    SetSelection(static_cast<int>(start) + 1, 0);
  }
}

CheckBox::CheckBox(Form& form, std::string name, std::string caption, Bounds bounds, int tabIndex)
    : ControlOf(form, std::move(name),
                Design(&CheckBoxState::caption, std::move(caption), bounds, tabIndex)) {}

void CheckBox::SetValue(int value) {
  if (Change(Cur().value, value, Prop::Value) && onClick) onClick();
}

void CheckBox::Press() {
  if (!Visible() || !Enabled() || !Owner().Enabled()) return;
  Owner().Tk().Raise([this] { SetValue(Value() == 1 ? 0 : 1); });
}

Frame::Frame(Form& form, std::string name, std::string caption, Bounds bounds)
    : ControlOf(form, std::move(name),
                Design(&FrameState::caption, std::move(caption), bounds, -1)) {}

Picture::Picture(Form& form, std::string name, std::string picture, Bounds bounds)
    : ControlOf(form, std::move(name),
                Design(&PictureState::picture, std::move(picture), bounds, -1)) {}

Line::Line(Form& form, std::string name, int x1, int y1, int x2, int y2, std::uint32_t color)
    : ControlOf(form, std::move(name), LineState{}) {
  design.x1 = x1;
  design.y1 = y1;
  design.x2 = x2;
  design.y2 = y2;
  design.color = color;
  ResetToDesign();
}

}  // namespace pw::forms
