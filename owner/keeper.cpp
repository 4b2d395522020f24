#include "owner/keeper.h"

#include "history/event_fields.h"
#include "store/settings_layout.h"

namespace pw::owner {

namespace {

Reply Stored(bool ok) {
  return {ok ? Answer::Right : Answer::Failed, 0, true};
}

}  // namespace

std::string Explain(const Reply& reply, const char* failed) {
  switch (reply.answer) {
    case Answer::Wait:
      return "Too many tries: wait " + std::to_string(reply.seconds) + " seconds.";
    case Answer::NeedsAdmin:
      return kNeedsAdmin;
    case Answer::Failed:
      return failed;
    case Answer::Wrong:
      return "The setup password has changed: open the setup window again.";
    case Answer::Right:
      return "";
    case Answer::BadRequest:
    case Answer::Unreachable:
      break;
  }
  return kCannotCheck;
}

Keeper::Keeper(RegistryApi& api, RegistryModule& registry, OwnerLine& line)
    : api_(api), registry_(registry), line_(line) {}

bool Keeper::ServiceKeeps() {
  RegKey key = 0;
  const long status = api_.RegOpenKeyExA(HKEY_LOCAL_MACHINE_, kVaultKey, 0, KEY_READ_, key);
  if (status == ERROR_SUCCESS_) api_.RegCloseKey(key);
  return status == ERROR_SUCCESS_ || status == ERROR_ACCESS_DENIED_;
}

Reply Keeper::CheckUnlock(const std::string& entry, const std::string& plain) {
  return Compare(Ask::CheckUnlock, entry, plain);
}

Reply Keeper::CheckSetup(const std::string& entry, const std::string& plain) {
  return Compare(Ask::CheckSetup, entry, plain);
}

Reply Keeper::Compare(Ask ask, const std::string& entry, const std::string& plain) {
  if (ServiceKeeps()) return Send({ask, {entry}});
  return {entry == plain ? Answer::Right : Answer::Wrong, 0, true};
}

Reply Keeper::StoreSettings(const std::string& setupEntry, const Preferences& preferences,
                            const std::vector<WordEntry>& entries) {
  if (!ServiceKeeps()) {
    const bool words = WriteWordEntries(registry_, entries);
    const bool settings = WritePreferences(registry_, preferences);
    return Stored(words && settings);
  }
  const SettingTexts texts = PreferenceTexts(preferences);
  Request request{Ask::StoreSettings, {setupEntry, std::to_string(texts.size())}};
  for (const auto& [name, text] : texts) {
    request.fields.push_back(name);
    request.fields.push_back(text);
  }
  for (const WordEntry& entry : entries) request.fields.push_back(FormatWordEntry(entry));
  return Send(request);
}

Reply Keeper::StoreUnlock(const std::string& setupEntry, const std::string& password) {
  return StorePassword(Ask::StoreUnlock, kUserPassword, setupEntry, password);
}

Reply Keeper::StoreSetup(const std::string& setupEntry, const std::string& password) {
  return StorePassword(Ask::StoreSetup, kUserPassword2, setupEntry, password);
}

Reply Keeper::StorePassword(Ask ask, const char* plainName, const std::string& setupEntry,
                            const std::string& password) {
  if (ServiceKeeps()) return Send({ask, {setupEntry, password}});
  return Stored(registry_.SaveRegValue(HKEY_LOCAL_MACHINE_, kSettingsKey, plainName,
                                       RegistryValue(password)));
}

std::optional<std::vector<std::uint8_t>> Keeper::Exchange(const Request& request) {
  const std::uint32_t service = line_.ServiceProcessId();
  if (service == 0) return std::nullopt;
  const auto connection = line_.Connect();
  // Whoever made the pipe first serves it: a password goes only to the service itself.
  if (!connection || connection->ServerProcessId() != service) return std::nullopt;
  return connection->Transact(Encode(request));
}

void Keeper::Report(const history::Entry& entry) {
  const std::vector<std::uint8_t> bytes = history::Encode(entry);
  if (ServiceKeeps()) {
    // A service that does not answer loses the entry; the guard must not stall a stop on it.
    Send({Ask::Report, {std::string(bytes.begin(), bytes.end())}});
    return;
  }
  const auto strings = history::EventStrings(entry);
  line_.WriteEvent(history::EventId(entry.kind), history::EventIsWarning(entry), strings);
}

Keeper::History Keeper::ReadHistory(const std::string& setupEntry, std::size_t most) {
  History history{{Answer::Right, 0, true}, {}};
  if (!ServiceKeeps()) {
    history.reply = {Answer::Failed, 0, true};
    return history;
  }
  const History unreachable{{Answer::Unreachable, 0, false}, {}};
  // Saying how many are wanted makes one exchange (and one password check) of a short read; a
  // service of an older version knows only the two-field form and refuses a third field.
  bool sized = most < kMostEntries;
  while (history.entries.size() < most) {
    Request request{Ask::ReadHistory, {setupEntry, std::to_string(history.entries.size())}};
    if (sized) request.fields.push_back(std::to_string(most - history.entries.size()));
    const auto bytes = Exchange(request);
    if (!bytes) return unreachable;
    auto page = DecodeHistoryPage(*bytes);
    if (!page) {
      const auto reply = DecodeReply(*bytes);
      if (sized && reply && reply->answer == Answer::BadRequest) {
        sized = false;
        continue;
      }
      if (!reply || reply->answer == Answer::Right || reply->answer == Answer::BadRequest) {
        return unreachable;
      }
      return {*reply, {}};
    }
    // A page that skipped other than asked, or brought nothing, ends the reading.
    if (page->skipped != history.entries.size() || page->entries.empty()) break;
    for (history::Entry& entry : page->entries) {
      if (history.entries.size() == most) break;
      history.entries.push_back(std::move(entry));
    }
    if (page->skipped + page->entries.size() >= page->total) break;
  }
  return history;
}

Reply Keeper::Send(const Request& request) {
  const Reply unreachable{Answer::Unreachable, 0, false};
  const auto reply = Exchange(request);
  if (!reply) return unreachable;
  const auto decoded = DecodeReply(*reply);
  if (!decoded || decoded->answer == Answer::BadRequest) return unreachable;
  return *decoded;
}

}  // namespace pw::owner
