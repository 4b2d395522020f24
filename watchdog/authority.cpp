#include "watchdog/authority.h"

#include <charconv>
#include <vector>

#include "base/text.h"
#include "store/settings_layout.h"
#include "store/settings_store.h"

namespace pw::watchdog {

namespace {

using owner::Answer;
using owner::Ask;
using owner::Reply;

constexpr std::size_t kPasswordLength = 8;
constexpr std::size_t kMostSettings = 16;

const char* VaultName(bool setup) {
  return setup ? kVaultSetup : kVaultUnlock;
}

// The stored text, or nothing when no such value exists (a missing value and an empty one
// differ here: an empty plain-text password is still a password to take in).
std::optional<std::string> ReadIfPresent(RegistryModule& registry, const char* key,
                                         const char* name) {
  const RegistryValue absent = OtherValue{"absent", 0};
  const RegistryValue value = registry.GetRegValue(HKEY_LOCAL_MACHINE_, key, name, absent);
  if (value == absent) return std::nullopt;
  return ValueToText(value);
}

}  // namespace

std::string Authority::Normalized(const std::string& password) {
  return text_.Lower(LeftChars(password, kPasswordLength));
}

Authority::Authority(RegistryApi& registry, AuthorityHost& host, TextRules& text,
                     std::uint32_t iterations)
    : registry_(registry), host_(host), text_(text), iterations_(iterations) {}

void Authority::TakeIn() {
  host_.ProtectVault();
  for (const bool setup : {false, true}) {
    const char* plainName = setup ? kUserPassword2 : kUserPassword;
    const auto plain = ReadIfPresent(registry_, kSettingsKey, plainName);
    if (!plain) continue;
    // The stored text counts with its first 8 characters, as the guard always took it.
    if (Keep(setup ? Which::Setup : Which::Unlock, LeftChars(*plain, kPasswordLength))) {
      registry_.DeleteRegValue(HKEY_LOCAL_MACHINE_, kSettingsKey, plainName);
    }
  }
}

Reply Authority::Serve(const owner::Request& request, const Caller& caller, Millis now) {
  switch (request.ask) {
    case Ask::CheckUnlock:
    case Ask::CheckSetup:
      if (request.fields.size() != 1) return {};
      return Check(request.ask == Ask::CheckSetup ? Which::Setup : Which::Unlock, request.fields[0],
                   caller, now);
    case Ask::StoreSettings:
      return StoreSettings(request, caller, now);
    case Ask::StoreUnlock:
      return StorePassword(Which::Unlock, request, caller, now);
    case Ask::StoreSetup:
      return StorePassword(Which::Setup, request, caller, now);
  }
  return {};
}

std::vector<std::uint8_t> Authority::Serve(std::span<const std::uint8_t> message,
                                           const Caller& caller, Millis now) {
  const auto request = owner::DecodeRequest(message);
  return owner::Encode(request ? Serve(*request, caller, now) : Reply{});
}

Reply Authority::Check(Which which, const std::string& entry, const Caller& caller, Millis now) {
  if (const auto wait = rate_.Admit(caller.session, now)) {
    return {Answer::Wait, static_cast<std::uint32_t>((*wait + 999) / 1000), false};
  }
  const bool right = Matches(which, entry);
  return {right ? Answer::Right : Answer::Wrong, 0, caller.admin || Owned()};
}

std::optional<Reply> Authority::RefuseStore(const std::string& setupEntry, const Caller& caller,
                                            Millis now) {
  const Reply check = Check(Which::Setup, setupEntry, caller, now);
  if (check.answer != Answer::Right) return check;
  // The guarded user must not become the owner by setting the first passwords.
  if (!check.mayStore) return Reply{Answer::NeedsAdmin, 0, false};
  return std::nullopt;
}

Reply Authority::StoreSettings(const owner::Request& request, const Caller& caller, Millis now) {
  // setup password, N, N (name, text) pairs, then the entries
  const std::vector<std::string>& f = request.fields;
  if (f.size() < 2) return {};
  std::size_t count = 0;
  const auto [end, error] = std::from_chars(f[1].data(), f[1].data() + f[1].size(), count);
  if (error != std::errc{} || end != f[1].data() + f[1].size() || count > kMostSettings ||
      f.size() < 2 + 2 * count || f.size() - 2 - 2 * count > kListValueCount) {
    return {};
  }
  SettingTexts texts;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string& name = f[2 + 2 * i];
    // Only what the setup window edits: never a password, never a value of the service.
    if (!IsPreferenceName(name)) return {};
    texts.emplace_back(name, f[3 + 2 * i]);
  }
  std::vector<WordEntry> entries;
  for (std::size_t i = 2 + 2 * count; i < f.size(); ++i) {
    auto entry = ParseWordEntry(f[i]);
    if (!entry) return {};
    entries.push_back(std::move(*entry));
  }
  if (auto refused = RefuseStore(f[0], caller, now)) return *refused;
  // The order the setup window always stored in: the list, then the settings.
  const bool words = WriteWordEntries(registry_, entries);
  const bool settings = WriteSettingTexts(registry_, texts);
  return {words && settings ? Answer::Right : Answer::Failed, 0, true};
}

Reply Authority::StorePassword(Which which, const owner::Request& request, const Caller& caller,
                               Millis now) {
  if (request.fields.size() != 2) return {};
  if (auto refused = RefuseStore(request.fields[0], caller, now)) return *refused;
  return {Keep(which, Normalized(request.fields[1])) ? Answer::Right : Answer::Failed, 0, true};
}

bool Authority::Matches(Which which, const std::string& entry) {
  const std::string typed = Normalized(entry);
  const auto stored = ReadIfPresent(registry_, kVaultKey, VaultName(which == Which::Setup));
  if (!stored) return typed.empty();
  const auto record = PasswordRecord::Parse(*stored);
  // A damaged record opens nothing; the owner sets the password anew.
  return record && record->Matches(typed, host_);
}

bool Authority::Keep(Which which, const std::string& password) {
  const char* name = VaultName(which == Which::Setup);
  if (password.empty()) return registry_.DeleteRegValue(HKEY_LOCAL_MACHINE_, kVaultKey, name);
  return registry_.SaveRegValue(
      HKEY_LOCAL_MACHINE_, kVaultKey, name,
      RegistryValue(PasswordRecord::Make(password, host_, iterations_).Format()));
}

bool Authority::Owned() {
  return ReadIfPresent(registry_, kVaultKey, kVaultSetup).has_value();
}

}  // namespace pw::watchdog
