// The stored time limit: the program's reading against a second reading of the same rule.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/time_delay_reference.h"
#include "store/time_delay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const int program = pw::ParseTimeDelay(text);
  const int reference = pw::fuzz::ReferenceTimeDelay(text);
  if (program != reference) {
    std::fprintf(stderr, "\"%s\": the program reads %d, the rule gives %d\n", text.c_str(), program,
                 reference);
    std::abort();
  }
  return 0;
}
