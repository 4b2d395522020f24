#include "platform/win32/views/win32_views.h"

#include "platform/win32/views/win32_form_view.h"
#include "platform/win32/views/win32_frame.h"

namespace pw::win32 {

namespace {

win32::Dpi ScreenDpi() {
  win32::Dpi dpi;
  if (HDC screen = GetDC(nullptr)) {
    dpi.x = GetDeviceCaps(screen, LOGPIXELSX);
    dpi.y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  if (dpi.x <= 0) dpi.x = 96;
  if (dpi.y <= 0) dpi.y = 96;
  return dpi;
}

LOGFONTW MessageFontLook() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) == FALSE) {
    return LOGFONTW{};
  }
  return metrics.lfMessageFont;
}

}  // namespace

Win32ViewFactory::Win32ViewFactory(HINSTANCE instance)
    : instance_(instance), dpi_(ScreenDpi()), fontLook_(MessageFontLook()), images_(instance) {
  if (fontLook_.lfHeight != 0) font_.reset(CreateFontIndirectW(&fontLook_));
  if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
    // Through the plain function type, which any function pointer may be cast to and from.
    const auto any = reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetDpiForWindow"));
    dpiForWindow_ = reinterpret_cast<DpiForWindow>(any);
  }
  RegisterClasses();
  // A zero here only means the tray icon is not restored after Explorer restarts.
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
}

Win32ViewFactory::~Win32ViewFactory() {
  if (panelClass_) UnregisterClassW(win32::kPanelClassName, instance_);
  if (formClass_) UnregisterClassW(kFormClass, instance_);
}

void Win32ViewFactory::RegisterClasses() {
  WNDCLASSEXW form{};
  form.cbSize = sizeof(form);
  form.lpfnWndProc = &Win32FormView::FormProc;
  form.hInstance = instance_;
  form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  form.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  form.lpszClassName = kFormClass;
  if (RegisterClassExW(&form) == 0) win32::ThrowLastError("Registering the form class");
  formClass_ = true;

  WNDCLASSEXW panel{};
  panel.cbSize = sizeof(panel);
  panel.lpfnWndProc = &Win32FormView::PanelProc;
  panel.hInstance = instance_;
  panel.hCursor = form.hCursor;
  panel.lpszClassName = win32::kPanelClassName;
  if (RegisterClassExW(&panel) == 0) win32::ThrowLastError("Registering the panel class");
  panelClass_ = true;
}

std::unique_ptr<forms::FormView> Win32ViewFactory::CreateView(forms::Form& form) {
  return std::make_unique<Win32FormView>(*this, form);
}

forms::ScreenInfo Win32ViewFactory::Screen() const {
  forms::ScreenInfo info;
  info.widthPixels = GetSystemMetrics(SM_CXSCREEN);
  info.heightPixels = GetSystemMetrics(SM_CYSCREEN);
  info.dpiX = dpi_.x;
  info.dpiY = dpi_.y;
  return info;
}

int Win32ViewFactory::WindowDpi(HWND window) const {
  const UINT dpi = dpiForWindow_ != nullptr ? dpiForWindow_(window) : 0;
  return dpi != 0 ? static_cast<int>(dpi) : dpi_.x;
}

win32::UniqueFont Win32ViewFactory::FontAt(int dpi) const {
  if (fontLook_.lfHeight == 0) return win32::UniqueFont();
  LOGFONTW look = fontLook_;
  look.lfHeight = MulDiv(look.lfHeight, dpi, dpi_.y);
  return win32::UniqueFont(CreateFontIndirectW(&look));
}

}  // namespace pw::win32
