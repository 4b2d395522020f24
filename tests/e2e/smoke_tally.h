#pragma once

#include <cstdio>
#include <string>

namespace pw::smoke {

// Counts the checks of a smoke run and prints the failed ones as they happen.
class Tally {
 public:
  void That(bool condition, const std::string& what) {
    if (condition) {
      ++passed_;
      return;
    }
    ++failed_;
    std::printf("failed: %s\n", what.c_str());
    std::fflush(stdout);
  }

  // Prints the summary; the result is the process exit code.
  int Report() const {
    std::printf("%d passed, %d failed\n", passed_, failed_);
    std::fflush(stdout);
    return failed_ == 0 ? 0 : 1;
  }

 private:
  int passed_ = 0;
  int failed_ = 0;
};

}  // namespace pw::smoke
