#include "service/win32/cng_keys.h"

#include <windows.h>
// After windows.h.
#include <bcrypt.h>
#include <sddl.h>

#include <stdexcept>
#include <string>

#include "platform/win32/backend/win32_text.h"
#include "platform/win32/unique.h"
#include "store/settings_layout.h"

namespace pw::service {

namespace {

// SYSTEM and Administrators full control, for the key and every key below it; nothing
// inherited from above, where Users may read.
constexpr const wchar_t* kVaultAccess = L"D:P(A;OICI;KA;;;SY)(A;OICI;KA;;;BA)";

// Null when the text does not parse.
win32::UniqueLocal<void> SecurityDescriptor(const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr)) {
    return {};
  }
  return win32::UniqueLocal<void>(sd);
}

}  // namespace

std::vector<std::uint8_t> CngKeys::DeriveKey(std::string_view password,
                                             const std::vector<std::uint8_t>& salt,
                                             std::uint32_t iterations) {
  BCRYPT_ALG_HANDLE opened = nullptr;
  if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&opened, BCRYPT_SHA256_ALGORITHM, nullptr,
                                                  BCRYPT_ALG_HANDLE_HMAC_FLAG))) {
    throw std::runtime_error("no HMAC-SHA256 provider");
  }
  const win32::UniqueAlgorithm algorithm(opened);
  std::vector<std::uint8_t> key(PasswordRecord::kHashSize);
  std::string secret(password);
  std::vector<std::uint8_t> saltCopy(salt);
  const NTSTATUS status = BCryptDeriveKeyPBKDF2(
      algorithm.get(), reinterpret_cast<PUCHAR>(secret.data()), static_cast<ULONG>(secret.size()),
      saltCopy.data(), static_cast<ULONG>(saltCopy.size()), iterations, key.data(),
      static_cast<ULONG>(key.size()), 0);
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
  const auto access = SecurityDescriptor(kVaultAccess);
  if (!access) return false;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, access.get(), FALSE};
  HKEY created = nullptr;
  // The 32-bit view, where the program's settings live in both builds.
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, win32::Wide(kVaultKey).c_str(), 0, nullptr, 0,
                      KEY_ALL_ACCESS | KEY_WOW64_32KEY, &attributes, &created,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const win32::UniqueKey key(created);
  // An existing key keeps the list it was made with: set it again, should anyone have changed it.
  return RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, access.get()) == ERROR_SUCCESS;
}

}  // namespace pw::service
