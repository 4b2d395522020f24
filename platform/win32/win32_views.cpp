#include "platform/win32/win32_views.h"

#include <algorithm>

#include "platform/win32/win32_form_view.h"
#include "platform/win32/win32_frame.h"

namespace pw {

namespace {

winui::Dpi ScreenDpi() {
  winui::Dpi dpi;
  if (HDC screen = GetDC(nullptr)) {
    dpi.x = GetDeviceCaps(screen, LOGPIXELSX);
    dpi.y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  if (dpi.x <= 0) dpi.x = 96;
  if (dpi.y <= 0) dpi.y = 96;
  return dpi;
}

HFONT MessageFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) == FALSE) {
    return nullptr;
  }
  return CreateFontIndirectA(&metrics.lfMessageFont);
}

}  // namespace

Win32ViewFactory::Win32ViewFactory(HINSTANCE instance)
    : instance_(instance), dpi_(ScreenDpi()), font_(MessageFont()), images_(instance) {
  RegisterClasses();
  // A zero here only means the tray icon is not restored after Explorer restarts.
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
}

Win32ViewFactory::~Win32ViewFactory() {
  if (panelClass_) UnregisterClassA(winui::kPanelClassName, instance_);
  if (formClass_) UnregisterClassA(kFormClassName, instance_);
}

void Win32ViewFactory::RegisterClasses() {
  WNDCLASSEXA form{};
  form.cbSize = sizeof(form);
  form.lpfnWndProc = &Win32FormView::FormProc;
  form.hInstance = instance_;
  form.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  form.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  form.lpszClassName = kFormClassName;
  if (RegisterClassExA(&form) == 0) winui::ThrowLastError("Registering the form class");
  formClass_ = true;

  WNDCLASSEXA panel{};
  panel.cbSize = sizeof(panel);
  panel.lpfnWndProc = &Win32FormView::PanelProc;
  panel.hInstance = instance_;
  panel.hCursor = form.hCursor;
  panel.lpszClassName = winui::kPanelClassName;
  if (RegisterClassExA(&panel) == 0) winui::ThrowLastError("Registering the panel class");
  panelClass_ = true;
}

std::unique_ptr<forms::FormView> Win32ViewFactory::CreateView(forms::Form& form) {
  return std::make_unique<Win32FormView>(*this, form);
}

forms::ScreenInfo Win32ViewFactory::Screen() const {
  forms::ScreenInfo info;
  // Whole twips per pixel, as the forms count them; never 0, even on a very dense screen.
  info.twipsPerPixelX = std::max(winui::kTwipsPerInch / dpi_.x, 1);
  info.twipsPerPixelY = std::max(winui::kTwipsPerInch / dpi_.y, 1);
  info.widthTwips = GetSystemMetrics(SM_CXSCREEN) * info.twipsPerPixelX;
  info.heightTwips = GetSystemMetrics(SM_CYSCREEN) * info.twipsPerPixelY;
  return info;
}

}  // namespace pw
