#include <benchmark/benchmark.h>

#include <string>

#include "tests/support/sim_app.h"

namespace pw {
namespace {

// A monitor at full load: 1000 active words, 100 other windows and a long browser title in front
// that holds none of the words, so every word is tried.
void Prepare(sim::SimMachine& machine, frmMain& main, bool exempt, bool byProgram) {
  for (int n = 0; n < 1000; ++n) main.List1.AddItem("locked word " + std::to_string(n));
  for (int n = 0; n < 100; ++n) {
    const std::string key = "ExemptClass" + std::to_string(n);
    machine.desktop.OpenWindow(key, "Exempt window " + std::to_string(n));
    if (exempt) main.List2.AddItem(key);
  }
  // Known by its title, or (a web app, say) only by the program it runs in.
  std::string title = byProgram ? "Start Page - " : "Start Page - Microsoft Internet Explorer - ";
  title.resize(254, 'x');
  const int process = byProgram ? machine.desktop.StartProcess("msedge.exe") : 0;
  machine.desktop.OpenWindow("IEFrame", title, process);
}

void RunTicks(benchmark::State& state, bool exempt, bool byProgram = false) {
  sim::SimMachine machine;
  test::SimApp a(machine);
  a.Start();
  frmMain& main = a.app.main;
  Prepare(machine, main, exempt, byProgram);
  for (auto _ : state) {
    main.timTarnwick_Timer();
    benchmark::DoNotOptimize(main.TargetTitle.data());
  }
  state.counters["stops"] = static_cast<double>(machine.keystrokes.size());
  state.counters["exempt"] = main.List2.ListCount();
}

// One scan tick with 100 exemptions whose windows all exist.
void BM_ScanTick_1000Words(benchmark::State& state) {
  RunTicks(state, true);
}
BENCHMARK(BM_ScanTick_1000Words)->Unit(benchmark::kMicrosecond);

// The same without exemptions: the word matching alone, without the window look-ups.
void BM_ScanTick_1000Words_NoExemptions(benchmark::State& state) {
  RunTicks(state, false);
}
BENCHMARK(BM_ScanTick_1000Words_NoExemptions)->Unit(benchmark::kMicrosecond);

// A browser known only by its program: the process is asked about once, then found in the cache.
void BM_ScanTick_1000Words_BrowserProgram(benchmark::State& state) {
  RunTicks(state, true, true);
}
BENCHMARK(BM_ScanTick_1000Words_BrowserProgram)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pw
