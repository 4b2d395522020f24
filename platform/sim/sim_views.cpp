#include "platform/sim/sim_views.h"

#include "platform/forms/form.h"
#include "platform/forms/menu.h"
#include "platform/sim/sim_host.h"
#include "platform/sim/sim_mirror.h"

namespace pw::sim {

namespace {

class SimFormView : public forms::FormView {
 public:
  SimFormView(SimHost& host, forms::Form& form) : host_(host), form_(form), mirror_(form) {
    host.views.Add(&mirror_);
    SimDesktop& desktop = host.machine.desktop;
    handle_ = desktop.CreateWindow(kFormClassName, form.design.caption, host.pid, false);
    Place();
    forms::Form* target = &form;
    const Hwnd handle = handle_;
    SimHost* h = &host;
    const std::uint32_t restarted = desktop.RegisterMessage("TaskbarCreated");
    desktop.Find(handle_)->deliver = [h, target, handle, restarted](const PostedMessage& m) {
      h->machine.world.Post(
          h->pid, [target, handle, restarted, m] { Deliver(*target, handle, restarted, m); });
    };
  }

  ~SimFormView() override {
    host_.views.Remove(&mirror_);
    host_.machine.desktop.DestroyWindow(handle_);
  }

  Hwnd Handle() const override { return handle_; }
  int Dpi() const override { return Screen().dpi; }
  Point FramePixels() const override { return Screen().Frame(Captioned(), WithMenu()); }
  std::uint32_t IconHandle() const override { return form_.design.icon.empty() ? 0 : 0x0C1C0000u; }

  void Changed(const forms::Control* control, forms::Prop what) override {
    mirror_.Changed(control, what);
    if (control != nullptr) return;
    SimDesktop& desktop = host_.machine.desktop;
    switch (what) {
      case forms::Prop::Caption:
        desktop.SetTitle(handle_, form_.Caption());
        break;
      case forms::Prop::Visible:
        desktop.SetVisible(handle_, form_.Visible(), form_.design.activates);
        break;
      case forms::Prop::Enabled:
        if (SimWindow* w = desktop.Find(handle_)) w->enabled = form_.Enabled();
        break;
      case forms::Prop::Position:
        Place();
        break;
      case forms::Prop::Loaded:
        desktop.DestroyWindow(handle_);
        break;
      default:
        break;
    }
  }

  forms::MenuItem* PopupMenu(forms::MenuItem& menu, forms::MenuItem* defaultItem) override {
    PopupShown shown;
    shown.menu = menu.Name();
    shown.at = host_.machine.desktop.cursor;
    shown.when = host_.machine.world.Now();
    for (forms::MenuItem* item : menu.Items()) {
      if (!item->Visible()) continue;
      shown.entries.push_back(
          {item->Caption(), item->Enabled(), item->Checked(), item == defaultItem});
    }
    host_.popupsShown.push_back(shown);
    host_.popup = SimHost::OpenPopup{&menu, nullptr, false};
    while (!host_.popup->closed) host_.toolkit.DoEvents();
    forms::MenuItem* chosen = host_.popup->chosen;
    host_.popup.reset();
    return chosen;
  }

  void ClosePopupMenu() override {
    if (host_.popup) host_.popup->closed = true;
  }

 private:
  static void Deliver(forms::Form& form, Hwnd handle, std::uint32_t shellRestarted,
                      const PostedMessage& m) {
    if (!form.Loaded() || form.View() == nullptr || form.View()->Handle() != handle) return;
    if (m.message == WM_CLOSE_) {
      form.RequestClose(forms::kUnloadCloseCommand);
    } else if (m.message == WM_QUERYENDSESSION_) {
      form.RequestClose(forms::kUnloadEndSession);
    } else if (m.message == WM_ENDSESSION_ && m.wParam != 0) {
      const bool installer = (m.lParam & ENDSESSION_CLOSEAPP_) != 0;
      form.RequestClose(installer ? forms::kUnloadInstallerClose : forms::kUnloadEndSession);
    } else if (m.message == WM_MOUSEMOVE_) {
      const auto lp = static_cast<std::uint32_t>(m.lParam);
      const int perPixel = form.Tk().Screen().TwipsPerPixelX();
      const float x = static_cast<float>((lp & 0xFFFF) * perPixel);
      const float y = static_cast<float>((lp >> 16) * perPixel);
      form.MouseMove(static_cast<int>(m.wParam & 3), 0, x, y);
    } else if (m.message == shellRestarted) {
      form.ShellRestarted();
    }
  }

  void Place() {
    SimWindow* w = host_.machine.desktop.Find(handle_);
    if (w == nullptr) return;
    // As a window is made: the client area at the screen's dots per inch, the frame around it
    // scaled from its size at 96.
    const int dpi = Dpi();
    const int l = forms::TwipsToPixels(form_.Left(), dpi);
    const int t = forms::TwipsToPixels(form_.Top(), dpi);
    const Point frame = FramePixels();
    const Point offset = Screen().ClientOffset(Captioned(), WithMenu());
    w->clientSize = {forms::TwipsToPixels(form_.design.clientWidth, dpi),
                     forms::TwipsToPixels(form_.design.clientHeight, dpi)};
    w->clientOrigin = {l + offset.x, t + offset.y};
    w->bounds = {l, t, l + w->clientSize.x + frame.x, t + w->clientSize.y + frame.y};
  }

  const SimScreen& Screen() const { return host_.machine.desktop.screen; }
  bool Captioned() const { return form_.design.border != forms::BorderStyle::None; }
  bool WithMenu() const { return !form_.MenuBar().empty(); }

  SimHost& host_;
  forms::Form& form_;
  FormMirror mirror_;
  Hwnd handle_ = 0;
};

}  // namespace

std::unique_ptr<forms::FormView> SimViewFactory::CreateView(forms::Form& form) {
  return std::make_unique<SimFormView>(host_, form);
}

void SimViewFactory::CheckViews() const {
  std::string report;
  for (const FormMirror* mirror : mirrors_) {
    if (!mirror->Live()) continue;
    for (const std::string& difference : mirror->Differences()) report += "\n  " + difference;
  }
  if (!report.empty()) {
    throw SimFault{
        "A window is out of step with its model: a setter changed the model without "
        "telling its view." +
        report};
  }
}

forms::ScreenInfo SimViewFactory::Screen() const {
  return host_.machine.desktop.screen.Info();
}

}  // namespace pw::sim
