#include "platform/forms/form.h"

#include <algorithm>

#include "platform/forms/controls.h"
#include "platform/forms/menu.h"
#include "platform/forms/toolkit.h"

namespace pw::forms {

namespace {

// Borders and caption bar of a fixed window at 96 dots per inch, in twips, for a form whose
// window is not made yet.
constexpr int kFrameWidthTwips = 6 * 15;
constexpr int kFrameHeightTwips = 25 * 15;
constexpr int kMenuBarTwips = 19 * 15;

}  // namespace

Form::Form(Toolkit& toolkit, std::string name, FormState design)
    : design(std::move(design)), toolkit_(toolkit), name_(std::move(name)) {}

Form::~Form() = default;

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  cur_ = design;
  visible_ = false;
  active_ = nullptr;
  focusChosen_ = false;
  for (Member* member : members_) member->ResetToDesign();
  retired_.reset();
  view_ = toolkit_.Views().CreateView(*this);
  // Centred once the window exists: its frame is known only then.
  if (cur_.centerOnScreen) {
    const ScreenInfo screen = toolkit_.Screen();
    Move((screen.WidthTwips() - Width()) / 2, (screen.HeightTwips() - Height()) / 2);
  }
  Form_Load();
  // After the load handler: what it enabled or disabled decides where the focus starts.
  if (loaded_ && !focusChosen_) FocusFirstControl();
}

void Form::Show() {
  Load();
  // A form loaded earlier and changed since starts at the first control usable now.
  if (!visible_ && !focusChosen_) FocusFirstControl();
  visible_ = true;
  // Showing a visible form brings it to the front again.
  Notify(nullptr, Prop::Visible);
}

void Form::Hide() {
  Load();
  if (!visible_) return;
  visible_ = false;
  Notify(nullptr, Prop::Visible);
}

void Form::Unload() {
  RequestClose(kUnloadFromCode);
}

bool Form::RequestClose(int unloadMode) {
  if (!loaded_) return true;
  int cancel = 0;
  Form_QueryUnload(cancel, unloadMode);
  if (cancel != 0 || !loaded_) return !loaded_;
  FinishUnload();
  return true;
}

void Form::FinishUnload() {
  Form_Unload();
  visible_ = false;
  loaded_ = false;
  active_ = nullptr;
  // The view may be on the stack (a click on one of its controls unloaded the form): it destroys
  // its window now and the object itself goes at the next load.
  if (view_) view_->Changed(nullptr, Prop::Loaded);
  retired_ = std::move(view_);
}

std::string Form::Caption() {
  Load();
  return cur_.caption;
}

void Form::SetCaption(std::string caption) {
  Load();
  if (cur_.caption == caption) return;
  cur_.caption = std::move(caption);
  Notify(nullptr, Prop::Caption);
}

bool Form::Visible() {
  Load();
  return visible_;
}

bool Form::Enabled() {
  Load();
  return cur_.enabled;
}

void Form::SetEnabled(bool enabled) {
  Load();
  if (cur_.enabled == enabled) return;
  cur_.enabled = enabled;
  Notify(nullptr, Prop::Enabled);
}

Hwnd Form::hWnd() {
  Load();
  return view_ ? view_->Handle() : 0;
}

std::string Form::Icon() {
  Load();
  return cur_.icon;
}

int Form::FrameWidth() const {
  if (view_) return PixelsToTwips(view_->FramePixels().x, view_->Dpi());
  return cur_.border == BorderStyle::None ? 0 : kFrameWidthTwips;
}

int Form::FrameHeight() const {
  if (view_) return PixelsToTwips(view_->FramePixels().y, view_->Dpi());
  int height = cur_.border == BorderStyle::None ? 0 : kFrameHeightTwips;
  if (!MenuBar().empty()) height += kMenuBarTwips;
  return height;
}

int Form::Dpi(bool horizontal) const {
  if (view_) return view_->Dpi();
  const ScreenInfo screen = toolkit_.Screen();
  return horizontal ? screen.dpiX : screen.dpiY;
}

int Form::Left() {
  Load();
  return cur_.left;
}

int Form::Top() {
  Load();
  return cur_.top;
}

int Form::Width() {
  Load();
  return cur_.clientWidth + FrameWidth();
}

int Form::Height() {
  Load();
  return cur_.clientHeight + FrameHeight();
}

void Form::Move(int left, int top) {
  Load();
  cur_.left = left;
  cur_.top = top;
  Notify(nullptr, Prop::Position);
}

int Form::ScaleWidth() {
  Load();
  if (cur_.scaleMode == ScaleMode::Pixels) return TwipsToPixels(cur_.clientWidth, Dpi(true));
  return cur_.clientWidth;
}

int Form::ScaleHeight() {
  Load();
  if (cur_.scaleMode == ScaleMode::Pixels) return TwipsToPixels(cur_.clientHeight, Dpi(false));
  return cur_.clientHeight;
}

void Form::PopupMenu(MenuItem& menu, MenuItem* defaultItem) {
  Load();
  MenuItem* chosen = view_->PopupMenu(menu, defaultItem);
  if (chosen != nullptr) chosen->Press();
}

void Form::ClosePopupMenu() {
  if (view_ != nullptr) view_->ClosePopupMenu();
}

void Form::PressEnter() {
  if (!Enabled()) return;
  if (auto* focused = dynamic_cast<CommandButton*>(ActiveControl())) {
    focused->Press();
    return;
  }
  for (Member* member : members_) {
    auto* button = dynamic_cast<CommandButton*>(member);
    if (button != nullptr && button->Default()) {
      button->Press();
      return;
    }
  }
}

void Form::PressEscape() {
  if (!Enabled()) return;
  for (Member* member : members_) {
    auto* button = dynamic_cast<CommandButton*>(member);
    if (button != nullptr && button->Cancel()) {
      button->Press();
      return;
    }
  }
}

Control* Form::ActiveControl() {
  Load();
  return active_;
}

void Form::SetActiveControl(Control* control) {
  Load();
  active_ = control;
  focusChosen_ = true;
  Notify(control, Prop::Focus);
}

void Form::FocusFirstControl() {
  Control* first = nullptr;
  for (Member* member : members_) {
    auto* control = dynamic_cast<Control*>(member);
    if (control == nullptr || !control->TakesFocus() || control->TabIndex() < 0) continue;
    if (!control->Visible() || !control->Enabled()) continue;
    if (first == nullptr || control->TabIndex() < first->TabIndex()) first = control;
  }
  active_ = first;
  // The view shows the default frame on a focused button.
  if (first != nullptr) Notify(first, Prop::Focus);
}

void Form::MouseMove(int button, int shift, float x, float y) {
  toolkit_.Raise([&] { Form_MouseMove(button, shift, x, y); });
}

void Form::ShellRestarted() {
  toolkit_.Raise([this] { Form_ShellRestarted(); });
}

std::vector<MenuItem*> Form::MenuBar() const {
  std::vector<MenuItem*> bar;
  for (Member* member : members_) {
    auto* item = dynamic_cast<MenuItem*>(member);
    if (item != nullptr && item->Parent() == nullptr && item->design.visible) bar.push_back(item);
  }
  return bar;
}

void Form::Notify(const Control* control, Prop what) {
  if (view_) view_->Changed(control, what);
}

}  // namespace pw::forms
