#pragma once

#include <string>

#include "platform/forms/view.h"
#include "platform/win32/views/win32_dpi.h"
#include "platform/win32/views/win32_ui_handles.h"

namespace pw::forms {
class Control;
}

namespace pw::win32 {

class Win32Images;

// A message a control posts to its form window so that work after a notification runs once the
// native control has finished with it: wParam holds the control id and a code, lParam a value.
inline constexpr UINT kControlMessage = WM_APP + 1;

// What a native control needs to know about the place it is created in.
struct ControlContext {
  HINSTANCE instance = nullptr;
  HWND form = nullptr;    // the form's top-level window
  HWND parent = nullptr;  // the form, or the panel of the frame that holds the control
  int id = 0;
  Dpi dpi;
  HFONT font = nullptr;
  Win32Images* images = nullptr;
  HBRUSH background = nullptr;  // the container's background
  COLORREF backgroundColor = 0;
  void* owner = nullptr;  // the form's view, for windows of the program's own classes
};

// The native side of one forms control. Its windows are children of the form's window and go
// with it; the object only keeps what the windows use (brushes, image lists).
//
// A handler that runs on user input may unload the form and so delete this object: every entry
// point that calls the model copies what it needs first and touches no member afterwards.
class Win32Control {
 public:
  virtual ~Win32Control() = default;
  Win32Control(const Win32Control&) = delete;
  Win32Control& operator=(const Win32Control&) = delete;

  HWND Handle() const { return window_; }
  int Id() const { return context_.id; }
  virtual forms::Control& Model() const = 0;
  // Whether the window belongs to this control (a frame has two).
  virtual bool Owns(HWND window) const { return window == window_; }
  // The window children of this control are created in; null when it holds none.
  virtual HWND ChildParent() const { return nullptr; }
  // The background children see through; only for containers.
  virtual HBRUSH ChildBackground(COLORREF& color) const;

  // Mirrors a change of the model. The base handles what every control has.
  virtual void Changed(forms::Prop what);
  // WM_COMMAND notification code.
  virtual void Command(int code) { (void)code; }
  virtual LRESULT Notify(const NMHDR& header) {
    (void)header;
    return 0;
  }
  // WM_CTLCOLOR*: the brush to paint with, or null for the system's default.
  virtual HBRUSH Color(HDC dc);
  virtual void Draw(const DRAWITEMSTRUCT& item) { (void)item; }
  // What the control posted to itself through kControlMessage.
  virtual void Posted(int code, LPARAM value) {
    (void)code;
    (void)value;
  }
  // Called once every control of the form exists and the tab order is set.
  virtual void Arranged() {}
  // The form moved to a screen of another density: place and letter the control anew.
  virtual void Rescale(const Dpi& dpi, HFONT font);

 protected:
  explicit Win32Control(const ControlContext& context) : context_(context) {}

  // Creates the native window with the model's bounds, visibility and enabled state.
  void Create(const wchar_t* className, const std::string& text, DWORD style, DWORD exStyle);
  // Where the window goes, in pixels of its parent.
  virtual RECT PixelBounds() const;
  void Place();
  void Post(int code, LPARAM value) const;
  // The native control took the focus: the model's active control follows.
  void Focused() const;
  std::string WindowText() const;
  void SetWindowTextIfChanged(const std::string& text) const;

  ControlContext context_;
  HWND window_ = nullptr;
};

// The native side of a control of one model class, which it keeps at that class.
template <class ModelClass>
class Win32ControlOf : public Win32Control {
 public:
  using ModelType = ModelClass;

  ModelClass& Model() const override { return model_; }

 protected:
  Win32ControlOf(ModelClass& model, const ControlContext& context)
      : Win32Control(context), model_(model) {}

  // The notifications of a BUTTON window: a click presses the model (with BS_NOTIFY the second
  // click of a double click comes as BN_DOUBLECLICKED), the focus makes it the active control.
  void ButtonCommand(int code) {
    ModelClass& model = model_;
    switch (code) {
      case BN_CLICKED:
      case BN_DOUBLECLICKED:
        model.Press();
        break;
      case BN_SETFOCUS:
        Focused();
        break;
      default:
        break;
    }
  }

  ModelClass& model_;
};

}  // namespace pw::win32
