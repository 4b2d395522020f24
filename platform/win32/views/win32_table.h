#pragma once

#include <string>

#include "platform/forms/list_view.h"
#include "platform/win32/views/win32_control.h"

namespace pw::win32 {

// A report-style list view of a table model. The list holds no texts of its own (a virtual
// list): it asks for each cell as it paints, so thousands of rows show at once.
class Win32Table : public Win32ControlOf<forms::ListView> {
 public:
  Win32Table(forms::ListView& model, const ControlContext& context);

  void Changed(forms::Prop what) override;
  LRESULT Notify(const NMHDR& header) override;

 private:
  std::wstring cell_;  // the text last handed out, alive until the next request
};

}  // namespace pw::win32
