#include "platform/win32/views/win32_controls.h"

#include "platform/forms/controls.h"
#include "platform/win32/views/win32_images.h"

namespace pw::win32 {

namespace {

DWORD RoleStyle(bool isDefault) {
  return isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

}  // namespace

Win32Button::Win32Button(forms::CommandButton& model, const ControlContext& context)
    : Win32ControlOf(model, context) {
  if (!model.design.picture.empty()) flags_ |= BS_MULTILINE;
  Create(L"BUTTON", model.Caption(), RoleStyle(model.Default()) | flags_, 0);
  if (!model.design.picture.empty()) ShowPicture();
}

void Win32Button::ShowPicture() {
  const int size = GetSystemMetrics(SM_CXICON);
  HICON icon = context_.images->Icon(model_.design.picture, size, size);
  if (icon == nullptr) return;
  UniqueImageList list(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 0));
  if (!list || ImageList_AddIcon(list.get(), icon) < 0) return;
  BUTTON_IMAGELIST images{};
  images.himl = list.get();
  images.margin = RECT{0, context_.dpi.Y(60), 0, 0};
  images.uAlign = BUTTON_IMAGELIST_ALIGN_TOP;
  // Needs common controls 6; without them the button shows its caption alone.
  if (SendMessageW(window_, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images)) != FALSE) {
    picture_ = std::move(list);
  }
}

void Win32Button::Changed(forms::Prop what) {
  switch (what) {
    case forms::Prop::Caption:
      SetWindowTextIfChanged(model_.Caption());
      break;
    default:
      Win32Control::Changed(what);
      break;
  }
}

void Win32Button::ShowDefaultFrame(bool shown) const {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
  if (((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) == shown) return;
  SendMessageW(window_, BM_SETSTYLE, RoleStyle(shown) | flags_, TRUE);
}

void Win32Button::Command(int code) {
  ButtonCommand(code);
}

}  // namespace pw::win32
