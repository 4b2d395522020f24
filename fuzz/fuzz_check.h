#pragma once

#include <cstdio>
#include <cstdlib>

namespace pw::fuzz {

// A property that must hold whatever the input: on failure the fuzzer keeps the input.
inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

}  // namespace pw::fuzz
