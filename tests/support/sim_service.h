#pragma once

#include <string>

#include "platform/sim/sim_machine.h"
#include "platform/sim/sim_text_rules.h"
#include "service/authority.h"
#include "tests/support/memory_record.h"

namespace pw::test {

// PBKDF2 and random bytes from OpenSSL, for the service on the simulated machine and the
// benchmarks.
class OpenSslKeyMaker : public service::AuthorityHost {
 public:
  explicit OpenSslKeyMaker(sim::SimRegistry* registry = nullptr) : registry_(registry) {}

  std::vector<std::uint8_t> DeriveKey(std::string_view password,
                                      const std::vector<std::uint8_t>& salt,
                                      std::uint32_t iterations) override;
  std::vector<std::uint8_t> RandomBytes(std::size_t count) override;
  // Creates the vault and protects it in the simulated registry.
  bool ProtectVault() override;

  int derivations = 0;

 private:
  sim::SimRegistry* registry_;
};

// The owner's authority on the simulated machine: serves the pipe from a process of its own,
// writes with the machine's (LocalSystem's) registry, and is what the service control manager
// reports as the service. The iteration count is kept low so tests stay quick; the count is
// stored with each hash, so nothing else changes.
class SimService {
 public:
  static constexpr std::uint32_t kTestIterations = 10;
  // The wall clock when the simulated machine's clock reads 0: 2026-12-08 00:00:00 UTC.
  static constexpr std::int64_t kEpoch = 1796688000;

  explicit SimService(sim::SimMachine& machine);
  ~SimService();

  // The service starts: takes in plain text, creates its pipe (unless someone took the name)
  // and registers with the service control manager.
  void Start();
  void Stop();
  // What the registry watch does on a change of the settings key.
  void SettingsChanged() { authority.TakeIn(); }

  sim::SimMachine& machine;
  const int pid;
  OpenSslKeyMaker keys;
  sim::SimTextRules text;
  MemoryRecordStorage recordFile;
  MemoryEvents events;
  service::ServiceRecord record;
  service::Authority authority;
};

}  // namespace pw::test
