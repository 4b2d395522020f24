#include "service/authority.h"

#include <charconv>
#include <vector>

#include "base/text.h"
#include "service/change_text.h"
#include "store/settings_layout.h"
#include "store/settings_store.h"

namespace pw::service {

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

// A whole field of decimal digits.
bool Number(const std::string& field, std::uint32_t& n) {
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), n);
  return error == std::errc{} && end == field.data() + field.size();
}

}  // namespace

std::string Authority::Normalized(const std::string& password) {
  return text_.Lower(LeftChars(password, kPasswordLength));
}

Authority::Authority(RegistryApi& registry, AuthorityHost& host, TextRules& text,
                     std::uint32_t iterations, ServiceRecord* record)
    : registry_(registry), host_(host), text_(text), iterations_(iterations), record_(record) {}

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
  const Reply reply = Decide(request, caller, now);
  RecordReported();
  return reply;
}

Reply Authority::Decide(const owner::Request& request, const Caller& caller, Millis now) {
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
    case Ask::Report:
      return Report(request, caller, now);
    case Ask::ReadHistory:
      // Its answer is a page, not a reply: served by the message form below.
      break;
  }
  return {};
}

void Authority::Serve(std::span<const std::uint8_t> message, const Caller& caller, Millis now,
                      const Answering& answer) {
  const auto request = owner::DecodeRequest(message);
  if (request && request->ask == Ask::ReadHistory) {
    answer(ReadHistory(*request, caller, now));
    return;
  }
  answer(owner::Encode(request ? Decide(*request, caller, now) : Reply{}));
  RecordReported();
}

std::vector<std::uint8_t> Authority::Serve(std::span<const std::uint8_t> message,
                                           const Caller& caller, Millis now) {
  std::vector<std::uint8_t> reply;
  Serve(message, caller, now, [&](const std::vector<std::uint8_t>& bytes) { reply = bytes; });
  return reply;
}

Reply Authority::Check(Which which, const std::string& entry, const Caller& caller, Millis now) {
  if (const auto wait = rate_.Admit(caller.session, now)) {
    return {Answer::Wait, static_cast<std::uint32_t>((*wait + 999) / 1000), false};
  }
  const bool right =
      which == Which::Setup ? SetupMatches(entry, caller, now) : Matches(which, entry);
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
  const SettingTexts textsBefore = PreferenceTexts(ReadPreferences(registry_));
  const std::vector<WordEntry> entriesBefore = ReadWordEntries(registry_);
  // The order the setup window always stored in: the list, then the settings.
  const bool words = WriteWordEntries(registry_, entries);
  const bool settings = WriteSettingTexts(registry_, texts);
  std::string change = DescribeChange(textsBefore, texts, entriesBefore, entries);
  if (!change.empty()) {
    if (!(words && settings)) change += " (only part of it was stored)";
    Record(history::Kind::SettingsChanged, caller, std::move(change));
  }
  return {words && settings ? Answer::Right : Answer::Failed, 0, true};
}

Reply Authority::StorePassword(Which which, const owner::Request& request, const Caller& caller,
                               Millis now) {
  if (request.fields.size() != 2) return {};
  if (auto refused = RefuseStore(request.fields[0], caller, now)) return *refused;
  const bool kept = Keep(which, Normalized(request.fields[1]));
  if (kept) {
    Record(history::Kind::SettingsChanged, caller,
           which == Which::Setup ? "The setup password was changed."
                                 : "The unlock password was changed.");
  }
  return {kept ? Answer::Right : Answer::Failed, 0, true};
}

Reply Authority::Report(const owner::Request& request, const Caller& caller, Millis now) {
  if (record_ == nullptr) return {Answer::Failed, 0, false};
  if (request.fields.size() != 1) return {};
  auto entry = history::Decode(std::span(
      reinterpret_cast<const std::uint8_t*>(request.fields[0].data()), request.fields[0].size()));
  // A guard tells of stops and of Unlock All and Lock All; changes and the guard's own starts
  // and ends only the service knows, so a report of one is refused, not recorded.
  if (!entry || !history::GuardMayReport(entry->kind) ||
      (entry->kind == history::Kind::Stop) == (entry->outcome == history::Outcome::None)) {
    return {};
  }
  if (reports_.Admit(caller.session, now)) return {Answer::Wait, 60, false};
  // Who and where come from the system, not from the report.
  entry->session = caller.session;
  entry->user = caller.user;
  entry->detail.clear();
  entry->title = LeftChars(ValidUtf8(entry->title), history::kTitleChars);
  entry->word = LeftChars(ValidUtf8(entry->word), history::kTitleChars);
  entry->program = LeftChars(ValidUtf8(entry->program), history::kTitleChars);
  if (entry->outcome != history::Outcome::Refused) entry->wrongAnswers = 0;
  reported_ = std::move(*entry);
  return {Answer::Right, 0, false};
}

void Authority::RecordReported() {
  std::optional<history::Entry> entry = std::move(reported_);
  reported_.reset();
  if (entry) record_->Add(std::move(*entry));
}

std::vector<std::uint8_t> Authority::ReadHistory(const owner::Request& request,
                                                 const Caller& caller, Millis now) {
  // setup password, how many to skip, and (from newer guards) the most to send
  const auto& f = request.fields;
  std::uint32_t skip = 0;
  std::uint32_t most = owner::kMostEntries;
  if (f.size() != 2 && f.size() != 3) return owner::Encode(Reply{});
  if (!Number(f[1], skip) || (f.size() == 3 && !Number(f[2], most))) {
    return owner::Encode(Reply{});
  }
  // As any store: the setup password, and an owner who set one (or an administrator).
  if (auto refused = RefuseStore(f[0], caller, now)) return owner::Encode(*refused);
  if (record_ == nullptr) return owner::Encode(Reply{Answer::Failed, 0, true});
  return owner::Encode(owner::PageOf(record_->Entries(), skip, most));
}

void Authority::Record(history::Kind kind, const Caller& caller, std::string detail) {
  if (record_ == nullptr) return;
  history::Entry entry = history::EntryOf(kind);
  entry.session = caller.session;
  entry.user = caller.user;
  entry.detail = std::move(detail);
  record_->Add(std::move(entry));
}

bool Authority::Matches(Which which, const std::string& entry) {
  return Matches(Normalized(entry),
                 ReadIfPresent(registry_, kVaultKey, VaultName(which == Which::Setup)));
}

bool Authority::Matches(const std::string& typed, const std::optional<std::string>& stored) {
  if (!stored) return typed.empty();
  const auto record = PasswordRecord::Parse(*stored);
  // A damaged record opens nothing; the owner sets the password anew.
  return record && record->Matches(typed, host_);
}

bool Authority::SetupMatches(const std::string& entry, const Caller& caller, Millis now) {
  const std::string typed = Normalized(entry);
  const auto stored = ReadIfPresent(registry_, kVaultKey, kVaultSetup);
  // Only the very process found right, with the very same entry, while the stored password is
  // the one it was found right against: nobody else learns anything from how quick it is.
  const Remembered* r = remembered_ ? &*remembered_ : nullptr;
  if (r != nullptr && caller.process != 0 && r->process == caller.process &&
      r->session == caller.session && now < r->until && r->stored == stored &&
      r->tag.Matches(typed, host_)) {
    return true;
  }
  if (!Matches(typed, stored)) return false;
  if (caller.process != 0) {
    remembered_ = Remembered{caller.process, caller.session, stored,
                             PasswordRecord::Make(typed, host_, 1), now + kRememberFor};
  }
  return true;
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

}  // namespace pw::service
