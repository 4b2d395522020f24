#pragma once

#include <string>
#include <vector>

#include "history/entry.h"
#include "owner/protocol.h"
#include "platform/owner_line.h"
#include "platform/registry_api.h"
#include "store/registry_module.h"
#include "store/settings_store.h"

namespace pw::owner {

inline constexpr const char* kCannotCheck = "The password cannot be checked now.";
inline constexpr const char* kNeedsAdmin = "An administrator must set Pagewarden up first.";

// What a window tells the user of an answer other than Right or Wrong; `failed` is the window's
// own text for a store the registry refused.
std::string Explain(const Reply& reply, const char* failed);

// The guard's one way to judge a password or store a change. Where the service keeps the
// passwords it asks the service and judges nothing itself: a service it cannot reach, or that
// is not the service, refuses. Elsewhere (a guard started by hand, a package without the
// service) it compares with the plain-text passwords and writes the registry itself.
class Keeper {
 public:
  Keeper(RegistryApi& api, RegistryModule& registry, OwnerLine& line);

  // The service keeps the passwords: its key exists, whether or not we may open it.
  bool ServiceKeeps();

  // `entry` as the prompt took it (lower-cased); `plain` the password read from the registry,
  // used only where the service keeps none.
  Reply CheckUnlock(const std::string& entry, const std::string& plain);
  Reply CheckSetup(const std::string& entry, const std::string& plain);
  // Each store carries the setup password the setup window was opened with.
  Reply StoreSettings(const std::string& setupEntry, const Preferences& preferences,
                      const std::vector<WordEntry>& entries);
  Reply StoreUnlock(const std::string& setupEntry, const std::string& password);
  Reply StoreSetup(const std::string& setupEntry, const std::string& password);

  // Something that happened: to the service, which records it; without the service, to the
  // event log, and nowhere else. The service fills in who, where and when.
  void Report(const history::Entry& entry);
  // The newest entries of the service's record, newest first, at most `most` of them; the
  // reply alone when the service refused or could not be asked.
  struct History {
    Reply reply;
    std::vector<history::Entry> entries;
  };
  History ReadHistory(const std::string& setupEntry, std::size_t most);

 private:
  Reply Compare(Ask ask, const std::string& entry, const std::string& plain);
  Reply StorePassword(Ask ask, const char* plainName, const std::string& setupEntry,
                      const std::string& password);
  Reply Send(const Request& request);
  // The raw reply of a service that is the service; nothing when unreachable.
  std::optional<std::vector<std::uint8_t>> Exchange(const Request& request);

  RegistryApi& api_;
  RegistryModule& registry_;
  OwnerLine& line_;
};

}  // namespace pw::owner
