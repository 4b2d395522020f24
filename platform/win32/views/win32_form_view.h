#pragma once

#include <memory>
#include <vector>

#include "platform/forms/view.h"
#include "platform/win32/views/win32_colors.h"
#include "platform/win32/views/win32_control.h"
#include "platform/win32/views/win32_menus.h"
#include "platform/win32/views/win32_ui_handles.h"

namespace pw::forms {
class Form;
class Control;
}  // namespace pw::forms

namespace pw::win32 {

class Win32ViewFactory;

// The native window of one loaded form and its controls. Mirrors the model on every change and
// feeds user input back through the model's entry points.
//
// Any call into the model may unload the form, which destroys the window, and a later load in
// the same handler deletes this object: code that calls the model touches no member afterwards.
class Win32FormView : public forms::FormView {
 public:
  Win32FormView(Win32ViewFactory& factory, forms::Form& form);
  ~Win32FormView() override;
  Win32FormView(const Win32FormView&) = delete;
  Win32FormView& operator=(const Win32FormView&) = delete;

  Hwnd Handle() const override;
  int Dpi() const override { return dpi_; }
  Point FramePixels() const override;
  std::uint32_t IconHandle() const override;
  void Changed(const forms::Control* control, forms::Prop what) override;
  forms::MenuItem* PopupMenu(forms::MenuItem& menu, forms::MenuItem* defaultItem) override;
  void ClosePopupMenu() override;

  // For the message pump: keyboard roles and dialog navigation of a form's window. True when
  // the message was handled and must not be dispatched again.
  static bool PreTranslate(MSG& message);

  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void CreateWindowForForm();
  void CreateControls();
  win32::Win32Control* Ensure(forms::Control& control);
  std::unique_ptr<win32::Win32Control> Make(forms::Control& control,
                                            const win32::ControlContext& context);
  void ArrangeTabOrder();
  void ShowForm();
  void ShowDefaultButton() const;
  void ShowMenuBar();
  void Place();
  // Sizes the window so that its client area is the form's at the window's density.
  void FitClient();
  // The window came to a screen of another density, or was made on one.
  void Rescale(int dpi);
  void DestroyNow();

  // Messages of the form window; null window: not ours to handle.
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // What children send to their parent, whether the form or a frame's panel.
  bool OnChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool Live() const;

  win32::Win32Control* Find(const forms::Control* control) const;
  win32::Win32Control* FindByWindow(HWND window) const;
  win32::Win32Control* FindId(int id) const;

  Win32ViewFactory& factory_;
  forms::Form& form_;
  std::vector<std::unique_ptr<win32::Win32Control>> controls_;
  win32::MenuBuilder menuItems_;
  win32::UniqueMenu menuBar_;
  win32::ColorBrush back_;  // the form's background, which its controls show through
  HICON icon_ = nullptr;    // owned by the factory's pictures
  int dpi_;
  win32::UniqueFont font_;  // the dialog font at this window's density, when not the screen's
  bool destroying_ = false;
  win32::UniqueWindow window_;
};

}  // namespace pw::win32
