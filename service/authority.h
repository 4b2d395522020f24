#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "owner/protocol.h"
#include "platform/registry_api.h"
#include "platform/text_rules.h"
#include "platform/types.h"
#include "service/check_rate.h"
#include "service/password_record.h"
#include "service/service_record.h"
#include "store/registry_module.h"

namespace pw::service {

// What the authority needs of the system besides the registry.
class AuthorityHost : public KeyMaker {
 public:
  // Creates the key the hashes live in, if missing, and gives it an access list of its own:
  // SYSTEM and Administrators only, nothing inherited. Also run to repair a changed list.
  virtual bool ProtectVault() = 0;
};

// Who asks over the pipe, as the system reports it.
struct Caller {
  std::uint32_t session = 0;
  bool admin = false;         // a member of Administrators with an elevated token
  std::string user;           // DOMAIN\name of the client's token, for the record
  std::uint32_t process = 0;  // the client's process id; 0 when the system did not say
};

// The owner's authority: keeps the passwords as salted hashes in a key the guarded user cannot
// read, judges every password and makes every stored change. Stores go into the layout every
// reader knows (the word list, the settings values), so the guard's live reload, the Group
// Policy templates and older readers keep working.
class Authority {
 public:
  // The guard asks again with the setup password its setup prompt took, for each store and
  // read: a right verdict is remembered this long for that process alone.
  static constexpr Millis kRememberFor = 30'000;

  // New passwords are hashed with the given iteration count.
  // Entries are lower-cased by the system's rules, as the guard's prompt shows them.
  // With a record, it takes the guards' reports, records each stored change and serves the
  // history to the owner.
  Authority(RegistryApi& registry, AuthorityHost& host, TextRules& text,
            std::uint32_t iterations = PasswordRecord::kIterations,
            ServiceRecord* record = nullptr);

  // At the service's start and after each change of the settings key: protects the vault and
  // moves passwords found in plain text ("UserPassword", "UserPassword2") into it as hashes,
  // deleting the plain text only once the hash is stored.
  void TakeIn();
  owner::Reply Serve(const owner::Request& request, const Caller& caller, Millis now);
  // One message off the pipe: `answer` is handed the reply to send. A message that is no
  // request gets a BadRequest reply, whatever it holds; a granted ReadHistory a page of the
  // record. A report is recorded only once it is answered: a guard's stop waits for its answer,
  // and must not wait for the event log or the disk.
  using Answering = std::function<void(const std::vector<std::uint8_t>&)>;
  void Serve(std::span<const std::uint8_t> message, const Caller& caller, Millis now,
             const Answering& answer);
  // The same, returning the reply once everything is done.
  std::vector<std::uint8_t> Serve(std::span<const std::uint8_t> message, const Caller& caller,
                                  Millis now);

 private:
  enum class Which { Unlock, Setup };

  owner::Reply Decide(const owner::Request& request, const Caller& caller, Millis now);
  owner::Reply Check(Which which, const std::string& entry, const Caller& caller, Millis now);
  // The setup password re-checked before a store, with the rate and the first-owner rules.
  std::optional<owner::Reply> RefuseStore(const std::string& setupEntry, const Caller& caller,
                                          Millis now);
  owner::Reply StoreSettings(const owner::Request& request, const Caller& caller, Millis now);
  owner::Reply StorePassword(Which which, const owner::Request& request, const Caller& caller,
                             Millis now);
  // Takes a guard's report for RecordReported.
  owner::Reply Report(const owner::Request& request, const Caller& caller, Millis now);
  void RecordReported();
  std::vector<std::uint8_t> ReadHistory(const owner::Request& request, const Caller& caller,
                                        Millis now);
  void Record(history::Kind kind, const Caller& caller, std::string detail);
  bool Matches(Which which, const std::string& entry);
  bool Matches(const std::string& typed, const std::optional<std::string>& stored);
  bool SetupMatches(const std::string& entry, const Caller& caller, Millis now);
  // Keeps the password (its first 8 characters count); an empty one is kept as none at all.
  bool Keep(Which which, const std::string& password);
  // A setup password other than the empty one is stored: someone owns this machine.
  bool Owned();
  // An entry or a new password as compared: its first 8 characters, lower-cased.
  std::string Normalized(const std::string& password);

  RegistryModule registry_;
  AuthorityHost& host_;
  TextRules& text_;
  std::uint32_t iterations_;
  CheckRate rate_;
  ServiceRecord* record_;
  // A user could write fake stops to push real entries out of the record: a guard's stops come
  // at most about two a second, and the limit is well above what a person causes.
  CheckRate reports_{120};
  std::optional<history::Entry> reported_;
  // The last right setup password as a quick keyed hash of its own (never the text), for whom,
  // against which stored record, and until when.
  struct Remembered {
    std::uint32_t process = 0;
    std::uint32_t session = 0;
    std::optional<std::string> stored;
    PasswordRecord tag;
    Millis until = 0;
  };
  std::optional<Remembered> remembered_;
};

}  // namespace pw::service
