// The owner's authority reading fuzzer-made messages off its pipe, a few in a row from callers
// of the fuzzer's choosing: every reply is one well-formed reply, a request that is not granted
// changes nothing, and a standard user never stores anything while no one owns the machine.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "owner/protocol.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_text_rules.h"
#include "service/authority.h"
#include "store/settings_layout.h"
#include "tests/support/sim_service.h"

namespace pw::fuzz {
namespace {

using owner::Answer;
using owner::Ask;

// Every value under the keys the authority may write, with its type and bytes.
using Snapshot =
    std::vector<std::tuple<std::string, std::string, std::uint32_t, std::vector<std::uint8_t>>>;

Snapshot Take(const sim::SimRegistry& r) {
  Snapshot all;
  for (const char* key : {kSettingsKey, kWindowsKey, kVaultKey}) {
    for (const std::string& name : r.ValueNames(HKEY_LOCAL_MACHINE_, key)) {
      const auto value = r.Get(HKEY_LOCAL_MACHINE_, key, name);
      all.emplace_back(key, name, value->first, value->second);
    }
  }
  return all;
}

std::string Field(FuzzedDataProvider& in) {
  // Words the authority knows, so that the fuzzer reaches its decisions and not only its reader.
  static constexpr const char* kKnown[] = {"admin",
                                           "secret",
                                           "",
                                           "0",
                                           "1",
                                           "4",
                                           "webbrowser",
                                           "HideMenu",
                                           "disablemenu",
                                           "passwordprompt",
                                           "UserPassword",
                                           "casino,1",
                                           "poker,0",
                                           "Window0",
                                           "-1",
                                           "18446744073709551617"};
  if (in.ConsumeBool()) return in.PickValueInArray(kKnown);
  return in.ConsumeRandomLengthString(80);
}

std::vector<std::uint8_t> Message(FuzzedDataProvider& in) {
  if (in.ConsumeIntegralInRange<int>(0, 3) == 0) {
    return in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, 600));
  }
  owner::Request request{static_cast<Ask>(in.ConsumeIntegralInRange<int>(1, 7)), {}};
  const int count = in.ConsumeIntegralInRange<int>(0, 12);
  for (int i = 0; i < count; ++i) request.fields.push_back(Field(in));
  std::vector<std::uint8_t> bytes = owner::Encode(request);
  if (in.ConsumeIntegralInRange<int>(0, 7) == 0) {
    bytes[in.ConsumeIntegralInRange<std::size_t>(0, bytes.size() - 1)] =
        in.ConsumeIntegral<std::uint8_t>();
  }
  return bytes;
}

}  // namespace

void CheckOneInput(FuzzedDataProvider& in) {
  sim::SimRegistry registry;
  test::OpenSslKeyMaker keys(&registry);
  sim::SimTextRules text;
  service::Authority authority(registry, keys, text, test::SimService::kTestIterations);
  // Owned or not, with a damaged record now and then.
  if (in.ConsumeBool())
    registry.PutString(HKEY_LOCAL_MACHINE_, kSettingsKey, kUserPassword2, "admin");
  if (in.ConsumeBool())
    registry.PutString(HKEY_LOCAL_MACHINE_, kSettingsKey, kUserPassword, "secret");
  authority.TakeIn();
  if (in.ConsumeIntegralInRange<int>(0, 7) == 0) {
    registry.PutString(HKEY_LOCAL_MACHINE_, kVaultKey,
                       in.ConsumeBool() ? kVaultSetup : kVaultUnlock,
                       in.ConsumeRandomLengthString(100));
  }

  Millis now = 0;
  for (int round = 0; round < 8 && in.remaining_bytes() > 0; ++round) {
    const service::Caller caller{in.ConsumeIntegralInRange<std::uint32_t>(1, 3), in.ConsumeBool(),
                                 "PC\\child"};
    now += in.ConsumeIntegralInRange<Millis>(0, 70'000);
    const std::vector<std::uint8_t> message = Message(in);
    const auto request = owner::DecodeRequest(message);
    const bool owned = registry.HasValue(HKEY_LOCAL_MACHINE_, kVaultKey, kVaultSetup);
    const Snapshot before = Take(registry);

    const auto reply = owner::DecodeReply(authority.Serve(message, caller, now));
    Require(reply.has_value(), "every reply is well formed");
    if (!request) Require(reply->answer == Answer::BadRequest, "a message that is no request");
    if (reply->answer != Answer::Right)
      Require(Take(registry) == before, "a refusal stores nothing");
    if (reply->answer == Answer::Wait) {
      Require(reply->seconds >= 1 && reply->seconds <= 60, "a wait of at most a minute");
    }
    const bool store =
        request && request->ask != Ask::CheckUnlock && request->ask != Ask::CheckSetup;
    if (store && !owned && !caller.admin) {
      Require(reply->answer != Answer::Right, "a standard user does not become the owner");
    }
    if (request && !store) Require(Take(registry) == before, "a check changes nothing");
  }
}

}  // namespace pw::fuzz
