// The stored time limit: the program's reading against a second reading of the same rule.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/time_delay_reference.h"
#include "store/time_delay.h"

namespace pw::fuzz {

void CheckOneInput(FuzzedDataProvider& in) {
  const std::string text = in.ConsumeRemainingBytesAsString();
  const int program = ParseTimeDelay(text);
  const int reference = ReferenceTimeDelay(text);
  if (program != reference) {
    std::fprintf(stderr, "\"%s\": the program reads %d, the rule gives %d\n", text.c_str(), program,
                 reference);
    std::abort();
  }
}

}  // namespace pw::fuzz
