#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "platform/forms/control.h"

namespace pw::forms {

inline constexpr std::uint32_t kColorButtonText = 0x80000012;  // system colour 18
inline constexpr std::uint32_t kColorRed = 0x000000FF;
inline constexpr std::uint32_t kColorButtonFace = 0x8000000F;  // system colour 15
inline constexpr std::uint32_t kColorWindow = 0x80000005;      // system colour 5
inline constexpr std::uint32_t kColorWindowText = 0x80000008;  // system colour 8

struct LabelState : ControlState {
  std::string caption;
  std::uint32_t foreColor = kColorButtonText;
  bool transparent = false;
};

class Label : public ControlOf<LabelState> {
 public:
  Label(Form& form, std::string name, std::string caption, Bounds bounds);

  std::string Caption() { return Cur().caption; }
  void SetCaption(std::string caption) { Change(Cur().caption, std::move(caption), Prop::Caption); }
  std::uint32_t ForeColor() { return Cur().foreColor; }
  void SetForeColor(std::uint32_t color) { Change(Cur().foreColor, color, Prop::ForeColor); }
};

struct ButtonState : ControlState {
  std::string caption;
  bool isDefault = false;
  bool isCancel = false;
  std::string picture;  // resource name of an icon shown above the caption, if any
};

class CommandButton : public ControlOf<ButtonState> {
 public:
  CommandButton(Form& form, std::string name, std::string caption, Bounds bounds, int tabIndex);

  std::function<void()> onClick;

  std::string Caption() { return Cur().caption; }
  void SetCaption(std::string caption) { Change(Cur().caption, std::move(caption), Prop::Caption); }
  bool Default() { return Cur().isDefault; }
  // Only one button of a form is the default one.
  void SetDefault(bool isDefault) { SetRole(&ButtonState::isDefault, isDefault, Prop::Default); }
  bool Cancel() { return Cur().isCancel; }
  // Only one button of a form is the cancel one.
  void SetCancel(bool isCancel) { SetRole(&ButtonState::isCancel, isCancel, Prop::Cancel); }

  // The user pressed it (mouse, Space, Enter or Esc role): nothing happens unless it can be used.
  void Press();
  bool TakesFocus() const override { return true; }

 private:
  // Giving this button the role takes it from the form's other buttons.
  void SetRole(bool ButtonState::*role, bool has, Prop what);
};

struct TextBoxState : ControlState {
  std::string text;
  int maxLength = 0;  // 0: no limit
  char passwordChar = 0;
  int selStart = 0;
  int selLength = 0;
};

class TextBox : public ControlOf<TextBoxState> {
 public:
  TextBox(Form& form, std::string name, std::string text, Bounds bounds, int tabIndex);

  std::function<void()> onChange;

  std::string Text() { return Cur().text; }
  // Raises Change when the text differs, whoever sets it.
  void SetText(std::string text);
  int SelStart() { return Cur().selStart; }
  int SelLength() { return Cur().selLength; }
  void SetSelection(int start, int length);
  int MaxLength() { return Cur().maxLength; }
  char PasswordChar() { return Cur().passwordChar; }

  // The user typed: replaces the selection, keeps within the maximum length, raises Change.
  void Type(const std::string& typed);
  bool TakesFocus() const override { return true; }
};

struct CheckBoxState : ControlState {
  std::string caption;
  int value = 0;
};

class CheckBox : public ControlOf<CheckBoxState> {
 public:
  CheckBox(Form& form, std::string name, std::string caption, Bounds bounds, int tabIndex);

  std::function<void()> onClick;

  std::string Caption() { return Cur().caption; }
  int Value() { return Cur().value; }
  // Raises Click when the value changes, whoever sets it.
  void SetValue(int value);
  // The user clicked it: toggles when it can be used.
  void Press();
  bool TakesFocus() const override { return true; }
};

struct FrameState : ControlState {
  std::string caption;
  std::uint32_t backColor = 0x8000000F;  // system button face
  bool border = true;
};

class Frame : public ControlOf<FrameState> {
 public:
  Frame(Form& form, std::string name, std::string caption, Bounds bounds);
  std::string Caption() { return Cur().caption; }
};

struct PictureState : ControlState {
  std::string picture;  // resource name; empty: nothing shown
  bool stretch = false;
};

class Picture : public ControlOf<PictureState> {
 public:
  Picture(Form& form, std::string name, std::string picture, Bounds bounds);
  std::string Resource() { return Cur().picture; }
  void SetResource(std::string picture) {
    Change(Cur().picture, std::move(picture), Prop::Picture);
  }
};

struct LineState : ControlState {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::uint32_t color = 0;
};

class Line : public ControlOf<LineState> {
 public:
  Line(Form& form, std::string name, int x1, int y1, int x2, int y2, std::uint32_t color);
  LineState Geometry() { return Cur(); }
};

}  // namespace pw::forms
