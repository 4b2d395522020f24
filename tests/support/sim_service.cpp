#include "tests/support/sim_service.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <stdexcept>

#include "owner/protocol.h"
#include "store/settings_layout.h"

namespace pw::test {

std::vector<std::uint8_t> OpenSslKeyMaker::DeriveKey(std::string_view password,
                                                     const std::vector<std::uint8_t>& salt,
                                                     std::uint32_t iterations) {
  ++derivations;
  std::vector<std::uint8_t> key(service::PasswordRecord::kHashSize);
  if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(),
                        static_cast<int>(salt.size()), static_cast<int>(iterations), EVP_sha256(),
                        static_cast<int>(key.size()), key.data()) != 1) {
    throw std::runtime_error("PBKDF2 failed");
  }
  return key;
}

std::vector<std::uint8_t> OpenSslKeyMaker::RandomBytes(std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  if (RAND_bytes(bytes.data(), static_cast<int>(count)) != 1) {
    throw std::runtime_error("no random bytes");
  }
  return bytes;
}

bool OpenSslKeyMaker::ProtectVault() {
  if (registry_ == nullptr) return false;
  RegKey key = 0;
  std::uint32_t disposition = 0;
  if (registry_->RegCreateKeyExA(HKEY_LOCAL_MACHINE_, kVaultKey, 0, KEY_READ_, key, disposition) !=
      ERROR_SUCCESS_) {
    return false;
  }
  registry_->RegCloseKey(key);
  registry_->Protect(HKEY_LOCAL_MACHINE_, kVaultKey);
  return true;
}

SimService::SimService(sim::SimMachine& m)
    : machine(m),
      pid(m.world.AddProcess("pgwatchsvc.exe")),
      keys(&m.registry),
      record(recordFile, events, [&m] { return kEpoch + m.world.Now() / 1000; }),
      authority(m.registry, keys, text, kTestIterations, &record) {}

SimService::~SimService() {
  Stop();
}

void SimService::Start() {
  record.Open();
  authority.TakeIn();
  machine.pipes.Create(
      owner::kPipeName, pid,
      [this](std::span<const std::uint8_t> message, const sim::PipeCaller& c) {
        return authority.Serve(message, {c.session, c.admin, c.user}, machine.world.Now());
      });
  machine.servicePid = pid;
}

void SimService::Stop() {
  sim::SimPipes::Server* server = machine.pipes.Find(owner::kPipeName);
  if (server != nullptr && server->pid == pid) machine.pipes.Close(owner::kPipeName);
  if (machine.servicePid == pid) machine.servicePid = 0;
}

}  // namespace pw::test
