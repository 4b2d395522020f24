#pragma once

#include <string>
#include <vector>

#include "platform/win32/views/win32_ui_handles.h"

namespace pw::win32 {

// The program's pictures by resource name ("IDI_PROGRAM", "IDB_WIZARD"), loaded once per size and
// kept for the life of the views, so forms, buttons and the notification area can share them.
class Win32Images {
 public:
  explicit Win32Images(HINSTANCE instance) : instance_(instance) {}

  // Whether the name stands for an icon (otherwise it is a bitmap, or unknown).
  static bool IsIcon(const std::string& name);
  // Null when the name is unknown or the resource cannot be loaded. A size of 0 x 0 is the
  // picture's own size (the system icon size for icons).
  HICON Icon(const std::string& name, int width, int height);
  HBITMAP Bitmap(const std::string& name, int width, int height);

 private:
  template <class Owned>
  struct Entry {
    std::string name;
    int width = 0;
    int height = 0;
    Owned image;
  };

  HINSTANCE instance_;
  std::vector<Entry<UniqueIcon>> icons_;
  std::vector<Entry<UniqueBitmap>> bitmaps_;
};

}  // namespace pw::win32
