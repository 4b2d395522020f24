#pragma once

#include <cstdint>
#include <string>

#include "platform/shell.h"
#include "platform/types.h"

namespace pw {

class App;

inline constexpr const char* kTrayTip = "Pagewarden ";

// The notification-area icon of the monitor.
class Module1 {
 public:
  explicit Module1(App& app) : app_(app) {}

  // The 88-byte record, little-endian; the tip is followed by one NUL and padded with blanks.
  static TrayRecord MakeTrayData(std::uint32_t window, std::uint32_t id, std::uint32_t flags,
                                 std::uint32_t callbackMessage, std::uint32_t icon,
                                 const std::string& tip);
  void AddTrayIcon();
  void DeleteTrayIcon();

 private:
  App& app_;
};

}  // namespace pw
