#pragma once

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/timer.h"
#include "platform/types.h"

namespace pw {

class App;

// Keeps a frozen page out of sight until its prompt is answered: an opaque window without a
// caption over the page's window, right behind the prompt. A page that plays on (a video) would
// otherwise still be watched past the small prompt, for as long as no one answers it.
class frmCover : public forms::Form {
 public:
  explicit frmCover(App& app);

  static constexpr const char* kLocked = "This page is locked by Pagewarden.";

  forms::Label Label1;
  // Another program may move or size the window it covers, or raise it.
  forms::Timer timFollow;

  // Covers the window from now on; 0 takes the cover away.
  void CoverWindow(Hwnd window);
  void timFollow_Timer();

 private:
  // Over the window's rectangle and right behind the prompt while the prompt shows.
  void Follow();

  App& app_;
  Hwnd covered_ = 0;
  Rect placed_;
};

}  // namespace pw
