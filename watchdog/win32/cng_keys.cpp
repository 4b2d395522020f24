#include "watchdog/win32/cng_keys.h"

#include <windows.h>
// After windows.h.
#include <bcrypt.h>
#include <sddl.h>

#include <stdexcept>
#include <string>

#include "platform/win32/backend/win32_text.h"
#include "store/settings_layout.h"

namespace pw::watchdog {

namespace {

// SYSTEM and Administrators full control, for the key and every key below it; nothing
// inherited from above, where Users may read.
constexpr const wchar_t* kVaultAccess = L"D:P(A;OICI;KA;;;SY)(A;OICI;KA;;;BA)";

class SecurityDescriptor {
 public:
  explicit SecurityDescriptor(const wchar_t* sddl) {
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd_,
                                                              nullptr)) {
      sd_ = nullptr;
    }
  }
  ~SecurityDescriptor() {
    if (sd_ != nullptr) LocalFree(sd_);
  }
  SecurityDescriptor(const SecurityDescriptor&) = delete;
  SecurityDescriptor& operator=(const SecurityDescriptor&) = delete;
  PSECURITY_DESCRIPTOR get() const { return sd_; }

 private:
  PSECURITY_DESCRIPTOR sd_ = nullptr;
};

}  // namespace

std::vector<std::uint8_t> CngKeys::DeriveKey(std::string_view password,
                                             const std::vector<std::uint8_t>& salt,
                                             std::uint32_t iterations) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr,
                                                  BCRYPT_ALG_HANDLE_HMAC_FLAG))) {
    throw std::runtime_error("no HMAC-SHA256 provider");
  }
  std::vector<std::uint8_t> key(PasswordRecord::kHashSize);
  std::string secret(password);
  std::vector<std::uint8_t> saltCopy(salt);
  const NTSTATUS status = BCryptDeriveKeyPBKDF2(algorithm, reinterpret_cast<PUCHAR>(secret.data()),
                                                static_cast<ULONG>(secret.size()), saltCopy.data(),
                                                static_cast<ULONG>(saltCopy.size()), iterations,
                                                key.data(), static_cast<ULONG>(key.size()), 0);
  BCryptCloseAlgorithmProvider(algorithm, 0);
  SecureZeroMemory(secret.data(), secret.size());
  if (!BCRYPT_SUCCESS(status)) throw std::runtime_error("PBKDF2 failed");
  return key;
}

std::vector<std::uint8_t> CngKeys::RandomBytes(std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, bytes.data(), static_cast<ULONG>(count),
                                      BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
    throw std::runtime_error("no random bytes");
  }
  return bytes;
}

bool CngKeys::ProtectVault() {
  const SecurityDescriptor access(kVaultAccess);
  if (access.get() == nullptr) return false;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, access.get(), FALSE};
  HKEY key = nullptr;
  // The 32-bit view, where the program's settings live in both builds.
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, win32::Wide(kVaultKey).c_str(), 0, nullptr, 0,
                      KEY_ALL_ACCESS | KEY_WOW64_32KEY, &attributes, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  // An existing key keeps the list it was made with: set it again, should anyone have changed it.
  const LONG set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, access.get());
  RegCloseKey(key);
  return set == ERROR_SUCCESS;
}

}  // namespace pw::watchdog
