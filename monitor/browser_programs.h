#pragma once

#include <map>
#include <string_view>

#include "platform/types.h"
#include "platform/window_system.h"

namespace pw {

// Which windows belong to a web browser by the program they run in, whatever their title says:
// installed web apps of a browser run in its processes too. Each process is asked about once.
class BrowserPrograms {
 public:
  // Whether the program file is one of the known browsers (letter case aside).
  static bool IsBrowserProgram(std::string_view fileName);

  // Whether the window's process runs a known browser; false when the process cannot be opened.
  bool Owns(WindowSystem& windows, Hwnd window);

 private:
  std::map<ProcessKey, bool> known_;
};

}  // namespace pw
