#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

namespace pw::fuzz {

// A property that must hold whatever the input: on failure the fuzzer keeps the input.
inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

// Each target checks one fuzzer-made input here; the entry point in fuzz_entry.cpp hands it on.
void CheckOneInput(FuzzedDataProvider& in);

}  // namespace pw::fuzz
