#pragma once

#include <cstdint>
#include <memory>

#include "platform/types.h"

namespace pw::forms {

class Form;
class Control;
class MenuItem;

// What changed on a form or control; views mirror the model and need to know what to refresh.
enum class Prop {
  Loaded,
  Caption,
  Visible,
  Enabled,
  Position,
  Text,
  Selection,
  Value,
  Items,      // a list changed as a whole
  ItemAdded,  // one entry, see ListBox::ChangedEntry
  ItemRemoved,
  ListIndex,
  ForeColor,
  Default,
  Cancel,
  Focus,
  Picture,
  Menu,
  Topmost,
};

// The window class of every form's window. Copies of the program know each other by it: a window
// of another program may carry the same caption.
inline constexpr const char* kFormClassName = "PagewardenForm";

struct ScreenInfo {
  int widthTwips = 15360;  // 1024 pixels at 15 twips per pixel
  int heightTwips = 11520;
  int twipsPerPixelX = 15;
  int twipsPerPixelY = 15;
};

// A backend's mirror of one loaded form. It is created when the form loads and destroyed when it
// unloads; it feeds user input back through the same entry points code uses.
class FormView {
 public:
  virtual ~FormView() = default;

  virtual Hwnd Handle() const = 0;
  // The window's icon as a handle value, for the notification area.
  virtual std::uint32_t IconHandle() const = 0;
  // control is null when the form itself changed.
  virtual void Changed(const Control* control, Prop what) = 0;
  // Shows a popup menu at the cursor and blocks (pumping events) until it closes. Returns the
  // item the user chose, or null.
  virtual MenuItem* PopupMenu(MenuItem& menu, MenuItem* defaultItem) = 0;
};

class ViewFactory {
 public:
  virtual ~ViewFactory() = default;

  virtual std::unique_ptr<FormView> CreateView(Form& form) = 0;
  virtual ScreenInfo Screen() const = 0;
};

}  // namespace pw::forms
