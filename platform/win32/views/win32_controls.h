#pragma once

// The native views of the single controls; the lists have their own headers.

#include "platform/forms/controls.h"
#include "platform/win32/views/win32_control.h"

namespace pw::win32 {

// A STATIC text in the label's colour; a transparent label shows its container's background.
class Win32Label : public Win32ControlOf<forms::Label> {
 public:
  Win32Label(forms::Label& model, const ControlContext& context);

  void Changed(forms::Prop what) override;
  HBRUSH Color(HDC dc) override;
};

// A push button; the default one carries the default frame, a picture sits above the caption.
class Win32Button : public Win32ControlOf<forms::CommandButton> {
 public:
  Win32Button(forms::CommandButton& model, const ControlContext& context);

  void Changed(forms::Prop what) override;
  void Command(int code) override;
  // The thick default frame: on the focused button, or on the default one when no button has
  // the focus, as in a dialog.
  void ShowDefaultFrame(bool shown) const;

 private:
  void ShowPicture();

  DWORD flags_ = BS_NOTIFY;
  UniqueImageList picture_;
};

// A check box whose value the model owns: a click asks the model, which sets the mark.
class Win32CheckBox : public Win32ControlOf<forms::CheckBox> {
 public:
  Win32CheckBox(forms::CheckBox& model, const ControlContext& context);

  void Changed(forms::Prop what) override;
  void Command(int code) override;

 private:
  void ShowValue() const;
};

// A single-line EDIT. What the user types goes to the model as the new text and selection;
// what code sets comes back without echoing.
class Win32TextBox : public Win32ControlOf<forms::TextBox> {
 public:
  Win32TextBox(forms::TextBox& model, const ControlContext& context);

  void Changed(forms::Prop what) override;
  void Command(int code) override;
  // An entry keeps the system's own colours, whatever it sits on.
  HBRUSH Color(HDC dc) override {
    (void)dc;
    return nullptr;
  }

 private:
  void ShowSelection() const;
  void UserChanged();

  bool updating_ = false;
};

// A STATIC showing an icon or a bitmap resource, stretched to the control when asked.
class Win32Picture : public Win32ControlOf<forms::Picture> {
 public:
  Win32Picture(forms::Picture& model, const ControlContext& context);

  void Changed(forms::Prop what) override;

 private:
  void ShowPicture() const;
};

}  // namespace pw::win32
