#pragma once

#include <string>

namespace pw::e2e {

// What one scenario found: every expectation that failed, in words.
struct Check {
  bool ok = true;
  std::string failures;
  void That(bool condition, const char* what) {
    if (condition) return;
    ok = false;
    failures += std::string("    failed: ") + what + "\n";
  }
};

}  // namespace pw::e2e
