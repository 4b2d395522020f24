#include <benchmark/benchmark.h>

#include "tests/support/sim_app.h"

namespace pw {
namespace {

// The monitor's word-list load over a registry holding 1000 entries: 1000 reads, one per name.
void BM_LoadWordList_1000(benchmark::State& state) {
  sim::SimMachine machine;
  for (int n = 0; n < 1000; ++n) {
    machine.registry.PutString(HKEY_LOCAL_MACHINE_, "SOFTWARE\\Tarnwick\\Addon2\\Windows",
                               "Window" + std::to_string(n),
                               "word number " + std::to_string(n) + (n % 2 == 0 ? ",1" : ",0"));
  }
  test::SimApp app(machine);
  app.Start();
  for (auto _ : state) {
    app.app.main.GetWindows();
    benchmark::DoNotOptimize(app.app.main.List1.ListCount());
  }
  state.counters["words"] = app.app.main.List1.ListCount();
}
BENCHMARK(BM_LoadWordList_1000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pw

BENCHMARK_MAIN();
