#include <benchmark/benchmark.h>

#include "owner/protocol.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_text_rules.h"
#include "service/authority.h"
#include "store/settings_layout.h"
#include "tests/support/sim_service.h"

namespace pw {
namespace {

// One check of the unlock password as the service answers it, at the production work factor:
// the message read, the record read and parsed, the entry's key derived and compared.
void BM_PasswordCheck(benchmark::State& state) {
  sim::SimRegistry registry;
  test::OpenSslKeyMaker keys(&registry);
  sim::SimTextRules text;
  service::Authority authority(registry, keys, text, service::PasswordRecord::kIterations);
  registry.PutString(HKEY_LOCAL_MACHINE_, kSettingsKey, kUserPassword, "secret");
  authority.TakeIn();
  const std::vector<std::uint8_t> message =
      owner::Encode(owner::Request{owner::Ask::CheckUnlock, {"guess"}});
  Millis now = 0;
  for (auto _ : state) {
    // A minute apart, so that the rate limit never answers in place of the comparison.
    now += service::CheckRate::kMinute;
    benchmark::DoNotOptimize(authority.Serve(message, {1, false, ""}, now));
  }
  state.counters["iterations"] = service::PasswordRecord::kIterations;
}
BENCHMARK(BM_PasswordCheck)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pw
