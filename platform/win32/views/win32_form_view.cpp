#include "platform/win32/views/win32_form_view.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/list_box.h"
#include "platform/forms/menu.h"
#include "platform/win32/backend/win32_text.h"
#include "platform/win32/views/win32_check_list.h"
#include "platform/win32/views/win32_controls.h"
#include "platform/win32/views/win32_foreground.h"
#include "platform/win32/views/win32_frame.h"
#include "platform/win32/views/win32_line.h"
#include "platform/win32/views/win32_list.h"
#include "platform/win32/views/win32_list_box.h"
#include "platform/win32/views/win32_table.h"
#include "platform/win32/views/win32_views.h"

namespace pw::win32 {

namespace {

constexpr int kFirstControlId = 1000;  // clear of IDOK and IDCANCEL
constexpr UINT kFirstMenuId = 0x100;
constexpr UINT kFirstPopupId = 0x4000;
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, Windows 8.1 and later

Win32FormView* ViewOf(HWND window) {
  return reinterpret_cast<Win32FormView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Adopt(HWND window, LPARAM createParams) {
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(createParams);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

bool IsFormWindow(HWND window) {
  wchar_t name[32] = {};
  return GetClassNameW(window, name, 32) > 0 && std::wcscmp(name, kFormClass) == 0;
}

struct WindowStyles {
  DWORD style = WS_CLIPCHILDREN;
  DWORD exStyle = WS_EX_CONTROLPARENT;
};

WindowStyles StylesOf(const forms::FormState& design) {
  WindowStyles s;
  // Never the foreground, never in the taskbar or in Alt+Tab.
  if (!design.activates) s.exStyle |= WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
  switch (design.border) {
    case forms::BorderStyle::None:
      s.style |= WS_POPUP;
      return s;
    case forms::BorderStyle::FixedSingle:
      s.style |= WS_OVERLAPPED | WS_CAPTION;
      break;
    case forms::BorderStyle::FixedDialog:
      s.style |= WS_OVERLAPPED | WS_CAPTION;
      s.exStyle |= WS_EX_DLGMODALFRAME;
      break;
    case forms::BorderStyle::Sizable:
      s.style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
      if (design.maxButton) s.style |= WS_MAXIMIZEBOX;
      break;
  }
  if (design.controlBox) s.style |= WS_SYSMENU;
  if (design.minButton) s.style |= WS_MINIMIZEBOX;
  return s;
}

// The native view of the first of these kinds whose model the control is; null for none.
template <class View, class... Others>
std::unique_ptr<win32::Win32Control> MakeFirstOf(forms::Control& control,
                                                 const win32::ControlContext& context) {
  if (auto* model = dynamic_cast<typename View::ModelType*>(&control)) {
    return std::make_unique<View>(*model, context);
  }
  if constexpr (sizeof...(Others) > 0) {
    return MakeFirstOf<Others...>(control, context);
  } else {
    return nullptr;
  }
}

// Mouse keys as the forms number them: left 1, right 2, middle 4.
int Buttons(WPARAM keys) {
  int buttons = 0;
  if ((keys & MK_LBUTTON) != 0) buttons |= 1;
  if ((keys & MK_RBUTTON) != 0) buttons |= 2;
  if ((keys & MK_MBUTTON) != 0) buttons |= 4;
  return buttons;
}

}  // namespace

Win32FormView::Win32FormView(Win32ViewFactory& factory, forms::Form& form)
    : factory_(factory),
      form_(form),
      menuItems_(kFirstMenuId),
      back_(form.design.backColor),
      dpi_(factory.Dots().x) {
  const std::string icon = form.Icon();
  if (!icon.empty()) icon_ = factory.Images().Icon(icon, 32, 32);
  CreateWindowForForm();
  try {
    CreateControls();
  } catch (...) {
    DestroyNow();
    throw;
  }
}

Win32FormView::~Win32FormView() {
  // The form may be half destroyed already (its controls go before the form itself), so no
  // message may reach it from here on.
  DestroyNow();
}

void Win32FormView::CreateWindowForForm() {
  const WindowStyles s = StylesOf(form_.design);
  const win32::Dpi& dpi = factory_.Dots();
  menuBar_ = menuItems_.Bar(form_.MenuBar());
  RECT outer{0, 0, dpi.X(form_.design.clientWidth), dpi.Y(form_.design.clientHeight)};
  if (AdjustWindowRectEx(&outer, s.style, menuBar_ ? TRUE : FALSE, s.exStyle) == FALSE) {
    win32::ThrowLastError("Sizing the window " + form_.Name());
  }
  const HWND window =
      CreateWindowExW(s.exStyle, kFormClass, win32::Wide(form_.Caption()).c_str(), s.style,
                      dpi.X(form_.Left()), dpi.Y(form_.Top()), outer.right - outer.left,
                      outer.bottom - outer.top, nullptr, menuBar_.get(), factory_.Instance(), this);
  if (window == nullptr) win32::ThrowLastError("Creating the window " + form_.Name());
  // Explorer announces a new notification area to every window, but an elevated program does
  // not hear it from a normal one unless it lets that one message through.
  if (const UINT restarted = factory_.TaskbarCreatedMessage()) {
    ChangeWindowMessageFilterEx(window, restarted, MSGFLT_ALLOW, nullptr);
  }
  // Made at the screen's density; a window that opens on a monitor of another one follows it.
  const int windowDpi = factory_.WindowDpi(window);
  if (windowDpi != dpi_) Rescale(windowDpi);
  if (icon_ != nullptr) {
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    const int smallSize = GetSystemMetrics(SM_CXSMICON);
    if (HICON icon = factory_.Images().Icon(form_.Icon(), smallSize, smallSize)) {
      SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
  }
}

void Win32FormView::CreateControls() {
  for (forms::Member* member : form_.Members()) {
    if (auto* control = dynamic_cast<forms::Control*>(member)) Ensure(*control);
  }
  ArrangeTabOrder();
  for (const auto& control : controls_) control->Arranged();
}

win32::Win32Control* Win32FormView::Ensure(forms::Control& control) {
  if (win32::Win32Control* existing = Find(&control)) return existing;
  win32::ControlContext context;
  context.instance = factory_.Instance();
  context.form = window_.get();
  context.parent = window_.get();
  context.dpi = win32::Dpi{dpi_, dpi_};
  context.font = font_ ? font_.get() : factory_.Font();
  context.images = &factory_.Images();
  context.background = back_.Get();
  context.backgroundColor = back_.Color();
  context.owner = this;
  if (control.container != nullptr) {
    win32::Win32Control* holder = Ensure(*control.container);
    if (holder != nullptr && holder->ChildParent() != nullptr) {
      context.parent = holder->ChildParent();
      context.background = holder->ChildBackground(context.backgroundColor);
    }
  }
  context.id = kFirstControlId + static_cast<int>(controls_.size());
  std::unique_ptr<win32::Win32Control> made = Make(control, context);
  if (!made) return nullptr;
  controls_.push_back(std::move(made));
  return controls_.back().get();
}

std::unique_ptr<win32::Win32Control> Win32FormView::Make(forms::Control& control,
                                                         const win32::ControlContext& context) {
  // A list with check boxes is a list view; the others are plain list boxes.
  auto* list = dynamic_cast<forms::ListBox*>(&control);
  if (list != nullptr && list->design.checkBoxes) {
    return std::make_unique<Win32CheckList>(*list, context);
  }
  return MakeFirstOf<Win32Label, Win32Button, Win32TextBox, Win32CheckBox, Win32ListBox, Win32Frame,
                     Win32Picture, Win32Line, Win32Table>(control, context);
}

void Win32FormView::ArrangeTabOrder() {
  // The dialog manager tabs through each parent's children in z-order and into frames where
  // they stand, so a frame takes the place of the first tab index inside it.
  std::vector<int> keys(controls_.size(), INT_MAX);
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const int tab = controls_[i]->Model().TabIndex();
    if (tab < 0) continue;
    for (forms::Control* c = &controls_[i]->Model(); c != nullptr; c = c->container) {
      for (std::size_t j = 0; j < controls_.size(); ++j) {
        if (&controls_[j]->Model() == c) keys[j] = std::min(keys[j], tab);
      }
    }
  }
  std::vector<std::size_t> order(controls_.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  for (std::size_t i : order) {
    SetWindowPos(controls_[i]->Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

Point Win32FormView::FramePixels() const {
  RECT outer{};
  RECT client{};
  if (GetWindowRect(window_.get(), &outer) == FALSE ||
      GetClientRect(window_.get(), &client) == FALSE) {
    return {0, 0};
  }
  return {(outer.right - outer.left) - client.right, (outer.bottom - outer.top) - client.bottom};
}

void Win32FormView::FitClient() {
  const Point frame = FramePixels();
  SetWindowPos(window_.get(), nullptr, 0, 0,
               forms::TwipsToPixels(form_.design.clientWidth, dpi_) + frame.x,
               forms::TwipsToPixels(form_.design.clientHeight, dpi_) + frame.y,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32FormView::Rescale(int dpi) {
  dpi_ = dpi;
  font_ = dpi == factory_.Dots().y ? win32::UniqueFont() : factory_.FontAt(dpi);
  const HFONT font = font_ ? font_.get() : factory_.Font();
  for (const auto& control : controls_) control->Rescale(win32::Dpi{dpi, dpi}, font);
  FitClient();
}

Hwnd Win32FormView::Handle() const {
  return static_cast<Hwnd>(reinterpret_cast<std::uintptr_t>(window_.get()));
}

std::uint32_t Win32FormView::IconHandle() const {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(icon_));
}

void Win32FormView::Changed(const forms::Control* control, forms::Prop what) {
  if (destroying_ || !window_) return;
  if (control != nullptr) {
    if (win32::Win32Control* view = Find(control)) view->Changed(what);
    if (what == forms::Prop::Focus || what == forms::Prop::Default) ShowDefaultButton();
    return;
  }
  const HWND window = window_.get();
  switch (what) {
    case forms::Prop::Caption:
      SetWindowTextW(window, win32::Wide(form_.Caption()).c_str());
      break;
    case forms::Prop::Visible:
      ShowForm();
      break;
    case forms::Prop::Enabled:
      EnableWindow(window, form_.Enabled() ? TRUE : FALSE);
      break;
    case forms::Prop::Position:
      Place();
      break;
    case forms::Prop::Menu:
      ShowMenuBar();
      break;
    case forms::Prop::Loaded:
      // The form is gone: asking it anything would load it again.
      if (!form_.Loaded()) DestroyNow();
      break;
    default:
      break;
  }
}

void Win32FormView::ShowForm() {
  const HWND window = window_.get();
  if (!form_.Visible()) {
    ShowWindow(window, SW_HIDE);
    return;
  }
  if (!form_.design.activates) {
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return;
  }
  // Showing a shown form brings it to the front again, with the keyboard. One that is there
  // already is left alone: moving a window costs the window system work even when nothing
  // changes, and the prompt is shown again every second.
  if (IsWindowVisible(window) != FALSE && GetForegroundWindow() == window &&
      win32::InFront(window)) {
    return;
  }
  ShowWindow(window, SW_SHOW);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  win32::TakeForeground(window);
}

void Win32FormView::ShowDefaultButton() const {
  const forms::Control* active = form_.ActiveControl();
  const bool buttonFocused = dynamic_cast<const forms::CommandButton*>(active) != nullptr;
  for (const auto& control : controls_) {
    const auto* view = dynamic_cast<const win32::Win32Button*>(control.get());
    if (view == nullptr) continue;
    forms::CommandButton& button = view->Model();
    view->ShowDefaultFrame(buttonFocused ? &button == active : button.Default());
  }
}

void Win32FormView::Place() {
  const win32::Dpi& dpi = factory_.Dots();
  SetWindowPos(window_.get(), nullptr, dpi.X(form_.Left()), dpi.Y(form_.Top()), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32FormView::ShowMenuBar() {
  win32::MenuBuilder items(kFirstMenuId);
  win32::UniqueMenu bar = items.Bar(form_.MenuBar());
  if (!bar && !menuBar_) return;  // a popup menu's item changed: built when shown
  if (bar && menuBar_ && items.SameLayout(menuItems_)) {
    // Only states changed: update in place, which is also safe while the menu is open.
    menuItems_.ShowStates(menuBar_.get());
  } else {
    if (SetMenu(window_.get(), bar.get()) == FALSE) return;
    menuBar_ = std::move(bar);
    menuItems_ = std::move(items);
  }
  DrawMenuBar(window_.get());
}

forms::MenuItem* Win32FormView::PopupMenu(forms::MenuItem& menu, forms::MenuItem* defaultItem) {
  // Locals only: a timer that fires while the menu is open may unload the form.
  const HWND owner = window_.get();
  win32::MenuBuilder items(kFirstPopupId);
  win32::UniqueMenu popup = items.Popup(menu);
  if (!popup || owner == nullptr) return nullptr;
  if (const UINT id = items.IdOf(defaultItem)) SetMenuDefaultItem(popup.get(), id, FALSE);
  POINT at{};
  GetCursorPos(&at);
  // Without this the menu of a hidden window stays open when the user clicks elsewhere.
  SetForegroundWindow(owner);
  const auto chosen = static_cast<UINT>(
      TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr));
  if (IsWindow(owner) != FALSE) PostMessageW(owner, WM_NULL, 0, 0);
  return items.Find(chosen);
}

void Win32FormView::ClosePopupMenu() {
  // Ends this thread's menu; with none open it fails and nothing happens.
  EndMenu();
}

void Win32FormView::DestroyNow() {
  destroying_ = true;
  const HWND window = window_.get();
  if (window == nullptr) return;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  for (const auto& control : controls_) {
    if (HWND panel = control->ChildParent()) SetWindowLongPtrW(panel, GWLP_USERDATA, 0);
  }
  // The window would destroy its menu bar, which menuBar_ owns.
  if (menuBar_) SetMenu(window, nullptr);
  window_.reset();
}

bool Win32FormView::Live() const {
  return !destroying_ && form_.Loaded();
}

win32::Win32Control* Win32FormView::Find(const forms::Control* control) const {
  for (const auto& view : controls_) {
    if (&view->Model() == control) return view.get();
  }
  return nullptr;
}

win32::Win32Control* Win32FormView::FindByWindow(HWND window) const {
  for (const auto& view : controls_) {
    if (view->Owns(window)) return view.get();
  }
  return nullptr;
}

win32::Win32Control* Win32FormView::FindId(int id) const {
  const int index = id - kFirstControlId;
  if (index < 0 || index >= static_cast<int>(controls_.size())) return nullptr;
  return controls_[static_cast<std::size_t>(index)].get();
}

bool Win32FormView::PreTranslate(MSG& message) {
  if (message.hwnd == nullptr) return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (root == nullptr || !IsFormWindow(root)) return false;
  Win32FormView* view = ViewOf(root);
  if (view == nullptr || !view->Live()) return false;
  if (message.message == WM_KEYDOWN &&
      (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
    forms::Form& form = view->form_;
    if (message.wParam == VK_RETURN) {
      form.PressEnter();
    } else {
      form.PressEscape();
    }
    return true;
  }
  return IsDialogMessageW(root, &message) != FALSE;
}

LRESULT CALLBACK Win32FormView::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    Adopt(window, lParam);
    if (Win32FormView* view = ViewOf(window)) view->window_.reset(window);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  Win32FormView* view = ViewOf(window);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (view != nullptr) view->window_.release();
  }
  if (view == nullptr || !view->Live()) return DefWindowProcW(window, message, wParam, lParam);
  return view->OnMessage(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32FormView::PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    Adopt(window, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  Win32FormView* view = ViewOf(window);
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (view == nullptr || !view->Live()) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_ERASEBKGND) {
    if (win32::Win32Control* frame = view->FindByWindow(window)) {
      COLORREF color = 0;
      RECT client{};
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, frame->ChildBackground(color));
      return TRUE;
    }
  }
  LRESULT result = 0;
  if (view->OnChildMessage(message, wParam, lParam, result)) return result;
  return DefWindowProcW(window, message, wParam, lParam);
}

bool Win32FormView::OnChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      if (lParam == 0) return false;  // a menu command
      win32::Win32Control* control = FindByWindow(reinterpret_cast<HWND>(lParam));
      if (control == nullptr) return false;
      result = 0;
      control->Command(HIWORD(wParam));
      return true;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      win32::Win32Control* control = FindByWindow(header->hwndFrom);
      if (control == nullptr) return false;
      result = control->Notify(*header);
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
      win32::Win32Control* control = FindByWindow(reinterpret_cast<HWND>(lParam));
      if (control == nullptr) return false;
      HBRUSH brush = control->Color(reinterpret_cast<HDC>(wParam));
      if (brush == nullptr) return false;
      result = reinterpret_cast<LRESULT>(brush);
      return true;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      win32::Win32Control* control = FindByWindow(item->hwndItem);
      if (control == nullptr) return false;
      control->Draw(*item);
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

LRESULT Win32FormView::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnChildMessage(message, wParam, lParam, result)) return result;
  forms::Form& form = form_;
  switch (message) {
    case WM_CLOSE:
      // The model decides; a form that stays keeps its window.
      form.RequestClose(forms::kUnloadCloseCommand);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, back_.Get());
      return TRUE;
    }
    case WM_ENDSESSION:
      // Log-off and shut-down, and also an installer closing the program through the Restart
      // Manager (ENDSESSION_CLOSEAPP): an end, never a close to survive by a fresh copy. Each
      // ends with its own exit code, for the watchdog service.
      if (wParam != FALSE) {
        const bool installer = (lParam & ENDSESSION_CLOSEAPP) != 0;
        form.RequestClose(installer ? forms::kUnloadInstallerClose : forms::kUnloadEndSession);
      }
      return 0;
    case WM_MOUSEMOVE: {
      // Also the notification area's callback, with the event code in place of x.
      const forms::ScreenInfo screen = factory_.Screen();
      const auto x = static_cast<float>(LOWORD(lParam) * screen.TwipsPerPixelX());
      const auto y = static_cast<float>(HIWORD(lParam) * screen.TwipsPerPixelY());
      form.MouseMove(Buttons(wParam), 0, x, y);
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == 0) {
        if (forms::MenuItem* item = menuItems_.Find(LOWORD(wParam))) item->Press();
      }
      return 0;
    case WM_SETFOCUS:
      // Activation lands on the form; hand it to the control the model has active.
      if (win32::Win32Control* control = Find(form.ActiveControl())) {
        SetFocus(control->Handle());
      }
      return 0;
    case DM_GETDEFID:
      // The dialog manager restores this button's default frame when focus leaves a button.
      for (const auto& control : controls_) {
        auto* button = dynamic_cast<forms::CommandButton*>(&control->Model());
        if (button != nullptr && button->Default() && GetParent(control->Handle()) == window) {
          return MAKELRESULT(control->Id(), DC_HASDEFID);
        }
      }
      return 0;
    case kDpiChanged: {
      // Where Windows suggests, then the client area exact at the new density.
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      Rescale(LOWORD(wParam));
      return 0;
    }
    case win32::kControlMessage:
      if (win32::Win32Control* control = FindId(LOWORD(wParam))) {
        control->Posted(HIWORD(wParam), lParam);
      }
      return 0;
    default:
      if (message != 0 && message == factory_.TaskbarCreatedMessage()) {
        form.ShellRestarted();
        return 0;
      }
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace pw::win32
