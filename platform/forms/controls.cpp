#include "platform/forms/controls.h"

#include <algorithm>

#include "platform/forms/form.h"
#include "platform/forms/toolkit.h"

namespace pw::forms {

namespace {

template <class State>
State WithBounds(Bounds bounds, int tabIndex) {
  State state;
  state.bounds = bounds;
  state.tabIndex = tabIndex;
  return state;
}

}  // namespace

Label::Label(Form& form, std::string name, std::string caption, Bounds bounds)
    : ControlOf(form, std::move(name), WithBounds<LabelState>(bounds, -1)) {
  design.caption = std::move(caption);
  ResetToDesign();
}

std::string Label::Caption() {
  return Cur().caption;
}

void Label::SetCaption(std::string caption) {
  if (Cur().caption == caption) return;
  Cur().caption = std::move(caption);
  Notify(Prop::Caption);
}

std::uint32_t Label::ForeColor() {
  return Cur().foreColor;
}

void Label::SetForeColor(std::uint32_t color) {
  if (Cur().foreColor == color) return;
  Cur().foreColor = color;
  Notify(Prop::ForeColor);
}

CommandButton::CommandButton(Form& form, std::string name, std::string caption, Bounds bounds,
                             int tabIndex)
    : ControlOf(form, std::move(name), WithBounds<ButtonState>(bounds, tabIndex)) {
  design.caption = std::move(caption);
  ResetToDesign();
}

std::string CommandButton::Caption() {
  return Cur().caption;
}

void CommandButton::SetCaption(std::string caption) {
  if (Cur().caption == caption) return;
  Cur().caption = std::move(caption);
  Notify(Prop::Caption);
}

bool CommandButton::Default() {
  return Cur().isDefault;
}

void CommandButton::SetDefault(bool isDefault) {
  if (isDefault) {
    for (Member* member : Owner().Members()) {
      auto* other = dynamic_cast<CommandButton*>(member);
      if (other != nullptr && other != this) other->SetDefault(false);
    }
  }
  if (Cur().isDefault == isDefault) return;
  Cur().isDefault = isDefault;
  Notify(Prop::Default);
}

bool CommandButton::Cancel() {
  return Cur().isCancel;
}

void CommandButton::SetCancel(bool isCancel) {
  if (isCancel) {
    for (Member* member : Owner().Members()) {
      auto* other = dynamic_cast<CommandButton*>(member);
      if (other != nullptr && other != this) other->SetCancel(false);
    }
  }
  if (Cur().isCancel == isCancel) return;
  Cur().isCancel = isCancel;
  Notify(Prop::Cancel);
}

void CommandButton::Press() {
  if (!Visible() || !Enabled() || !Owner().Enabled() || !onClick) return;
  Owner().Tk().Raise(onClick);
}

TextBox::TextBox(Form& form, std::string name, std::string text, Bounds bounds, int tabIndex)
    : ControlOf(form, std::move(name), WithBounds<TextBoxState>(bounds, tabIndex)) {
  design.text = std::move(text);
  ResetToDesign();
}

std::string TextBox::Text() {
  return Cur().text;
}

void TextBox::SetText(std::string text) {
  if (Cur().text == text) return;
  Cur().text = std::move(text);
  const int length = static_cast<int>(Cur().text.size());
  Cur().selStart = std::min(Cur().selStart, length);
  Cur().selLength = 0;
  Notify(Prop::Text);
  if (onChange) onChange();
}

int TextBox::SelStart() {
  return Cur().selStart;
}
int TextBox::SelLength() {
  return Cur().selLength;
}

void TextBox::SetSelection(int start, int length) {
  const int size = static_cast<int>(Cur().text.size());
  start = std::clamp(start, 0, size);
  length = std::clamp(length, 0, size - start);
  Cur().selStart = start;
  Cur().selLength = length;
  Notify(Prop::Selection);
}

int TextBox::MaxLength() {
  return Cur().maxLength;
}
char TextBox::PasswordChar() {
  return Cur().passwordChar;
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
    : ControlOf(form, std::move(name), WithBounds<CheckBoxState>(bounds, tabIndex)) {
  design.caption = std::move(caption);
  ResetToDesign();
}

std::string CheckBox::Caption() {
  return Cur().caption;
}
int CheckBox::Value() {
  return Cur().value;
}

void CheckBox::SetValue(int value) {
  if (Cur().value == value) return;
  Cur().value = value;
  Notify(Prop::Value);
  if (onClick) onClick();
}

void CheckBox::Press() {
  if (!Visible() || !Enabled() || !Owner().Enabled()) return;
  Owner().Tk().Raise([this] { SetValue(Value() == 1 ? 0 : 1); });
}

Frame::Frame(Form& form, std::string name, std::string caption, Bounds bounds)
    : ControlOf(form, std::move(name), WithBounds<FrameState>(bounds, -1)) {
  design.caption = std::move(caption);
  ResetToDesign();
}

std::string Frame::Caption() {
  return Cur().caption;
}

Picture::Picture(Form& form, std::string name, std::string picture, Bounds bounds)
    : ControlOf(form, std::move(name), WithBounds<PictureState>(bounds, -1)) {
  design.picture = std::move(picture);
  ResetToDesign();
}

std::string Picture::Resource() {
  return Cur().picture;
}

void Picture::SetResource(std::string picture) {
  if (Cur().picture == picture) return;
  Cur().picture = std::move(picture);
  Notify(Prop::Picture);
}

Line::Line(Form& form, std::string name, int x1, int y1, int x2, int y2, std::uint32_t color)
    : ControlOf(form, std::move(name), LineState{}) {
  design.x1 = x1;
  design.y1 = y1;
  design.x2 = x2;
  design.y2 = y2;
  design.color = color;
  ResetToDesign();
}

LineState Line::Geometry() {
  return Cur();
}

}  // namespace pw::forms
