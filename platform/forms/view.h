#pragma once

#include <algorithm>
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
};

// The window class of every form's window. Copies of the program know each other by it: a window
// of another program may carry the same caption.
inline constexpr const char* kFormClassName = "PagewardenForm";

inline constexpr int kTwipsPerInch = 1440;

// Twips to pixels and back at exactly 1440 twips per inch, rounded to the nearest with halves
// away from zero, as the window system rounds.
constexpr int TwipsToPixels(int twips, int dpi) {
  const long long product = static_cast<long long>(twips) * dpi;
  return static_cast<int>(product >= 0 ? (product + kTwipsPerInch / 2) / kTwipsPerInch
                                       : -((-product + kTwipsPerInch / 2) / kTwipsPerInch));
}
constexpr int PixelsToTwips(int pixels, int dpi) {
  if (dpi <= 0) return 0;
  const long long product = static_cast<long long>(pixels) * kTwipsPerInch;
  return static_cast<int>(product >= 0 ? (product + dpi / 2) / dpi : -((-product + dpi / 2) / dpi));
}

struct ScreenInfo {
  int widthPixels = 1024;
  int heightPixels = 768;
  int dpiX = 96;
  int dpiY = 96;

  int WidthTwips() const { return PixelsToTwips(widthPixels, dpiX); }
  int HeightTwips() const { return PixelsToTwips(heightPixels, dpiY); }
  // Whole twips per pixel. Only the hidden monitor's mouse coordinates are scaled by it, and
  // the tray's event codes are divided by the same number, so they come back exact at any
  // density where 1440 / DPI is not whole.
  int TwipsPerPixelX() const { return dpiX > 0 ? std::max(kTwipsPerInch / dpiX, 1) : 15; }
  int TwipsPerPixelY() const { return dpiY > 0 ? std::max(kTwipsPerInch / dpiY, 1) : 15; }
};

// A backend's mirror of one loaded form. It is created when the form loads and destroyed when it
// unloads; it feeds user input back through the same entry points code uses.
class FormView {
 public:
  virtual ~FormView() = default;

  virtual Hwnd Handle() const = 0;
  // The window's dots per inch, which its client area is measured in.
  virtual int Dpi() const = 0;
  // How much wider and taller the window is than its client area, in pixels.
  virtual Point FramePixels() const = 0;
  // The window's icon as a handle value, for the notification area.
  virtual std::uint32_t IconHandle() const = 0;
  // control is null when the form itself changed.
  virtual void Changed(const Control* control, Prop what) = 0;
  // Shows a popup menu at the cursor and blocks (pumping events) until it closes. Returns the
  // item the user chose, or null.
  virtual MenuItem* PopupMenu(MenuItem& menu, MenuItem* defaultItem) = 0;
  // Closes the popup menu open on this thread, if any, as a click elsewhere would: its
  // PopupMenu returns with nothing chosen.
  virtual void ClosePopupMenu() = 0;
};

class ViewFactory {
 public:
  virtual ~ViewFactory() = default;

  virtual std::unique_ptr<FormView> CreateView(Form& form) = 0;
  virtual ScreenInfo Screen() const = 0;
};

}  // namespace pw::forms
