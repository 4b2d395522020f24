#pragma once

#include <string>

namespace pw::e2e {

// What one scenario found: every expectation that failed, in words.
struct Check {
  bool ok = true;
  std::string failures;
  void That(bool condition, const std::string& what) {
    if (condition) return;
    ok = false;
    failures += "    failed: " + what + "\n";
  }
};

}  // namespace pw::e2e
