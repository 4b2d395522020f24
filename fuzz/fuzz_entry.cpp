#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider in(bytes, size);
  pw::fuzz::CheckOneInput(in);
  return 0;
}
