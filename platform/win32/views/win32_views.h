#pragma once

#include <memory>

#include "platform/forms/view.h"
#include "platform/win32/views/win32_dpi.h"
#include "platform/win32/views/win32_images.h"
#include "platform/win32/views/win32_ui_handles.h"

namespace pw::win32 {

using forms::kFormClassName;
// The same name for the wide calls.
inline constexpr const wchar_t* kFormClass = L"PagewardenForm";

// Native windows for the forms: one top-level window of the class "PagewardenForm" per loaded
// form, with standard child controls. Owns what every form shares: the window classes, the
// screen's DPI, the dialog font and the program's pictures.
class Win32ViewFactory : public forms::ViewFactory {
 public:
  explicit Win32ViewFactory(HINSTANCE instance);
  ~Win32ViewFactory() override;
  Win32ViewFactory(const Win32ViewFactory&) = delete;
  Win32ViewFactory& operator=(const Win32ViewFactory&) = delete;

  std::unique_ptr<forms::FormView> CreateView(forms::Form& form) override;
  forms::ScreenInfo Screen() const override;

  HINSTANCE Instance() const { return instance_; }
  const win32::Dpi& Dots() const { return dpi_; }
  HFONT Font() const {
    return font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }
  // The dots per inch of the monitor the window is on.
  int WindowDpi(HWND window) const;
  // The dialog font at another density than the screen's.
  win32::UniqueFont FontAt(int dpi) const;
  win32::Win32Images& Images() { return images_; }
  // Sent to every top-level window when the notification area is created anew.
  UINT TaskbarCreatedMessage() const { return taskbarCreated_; }

 private:
  void RegisterClasses();

  using DpiForWindow = UINT(WINAPI*)(HWND);

  HINSTANCE instance_;
  win32::Dpi dpi_;
  // Windows 10 and later; on older systems every window has the screen's density.
  DpiForWindow dpiForWindow_ = nullptr;
  LOGFONTW fontLook_{};
  win32::UniqueFont font_;
  win32::Win32Images images_;
  UINT taskbarCreated_ = 0;
  bool formClass_ = false;
  bool panelClass_ = false;
};

}  // namespace pw::win32
