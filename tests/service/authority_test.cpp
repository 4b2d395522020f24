#include "service/authority.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_text_rules.h"
#include "tests/support/sim_service.h"
#include "tests/support/stored.h"

namespace pw::service {
namespace {

using owner::Answer;
using owner::Ask;
using owner::Request;

constexpr const char* kVaultPath = "SOFTWARE\\Tarnwick\\Addon2\\Vault";

// RFC 7914's PBKDF2-HMAC-SHA256 vector: "passwd", salt "salt", one iteration, first 32 bytes.
constexpr const char* kRfcRecord =
    "pbkdf2-sha256$1$73616c74$55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc";
// python3: hashlib.pbkdf2_hmac("sha256", b"secret", bytes(range(16)), 1000, 32)
constexpr const char* kPythonRecord =
    "pbkdf2-sha256$1000$000102030405060708090a0b0c0d0e0f$"
    "4efb2bbb6d2eb58ea8deaed54417ae2fd87fd50a8a8568709363da60d4560606";

TEST(PasswordRecordTest, KnownPbkdf2Sha256VectorsMatchOnlyTheirPassword) {
  test::OpenSslKeyMaker keys;
  const auto rfc = PasswordRecord::Parse(kRfcRecord);
  ASSERT_TRUE(rfc);
  EXPECT_TRUE(rfc->Matches("passwd", keys));
  EXPECT_FALSE(rfc->Matches("passwD", keys));
  EXPECT_FALSE(rfc->Matches("passwd ", keys));

  const auto python = PasswordRecord::Parse(kPythonRecord);
  ASSERT_TRUE(python);
  EXPECT_EQ(python->iterations, 1000u);
  EXPECT_TRUE(python->Matches("secret", keys));
  EXPECT_EQ(python->Format(), kPythonRecord);

  // Each record gets a salt of its own: one password never hashes the same way twice.
  const PasswordRecord a = PasswordRecord::Make("secret", keys, 10);
  const PasswordRecord b = PasswordRecord::Make("secret", keys, 10);
  EXPECT_EQ(a.salt.size(), PasswordRecord::kSaltSize);
  EXPECT_NE(a.salt, b.salt);
  EXPECT_NE(a.hash, b.hash);
  const auto read = PasswordRecord::Parse(a.Format());
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->Matches("secret", keys));
}

TEST(PasswordRecordTest, ParseRefusesEveryMalformedRecord) {
  const std::string hash = "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc";
  for (const std::string& text : std::vector<std::string>{
           "",
           "pbkdf2-sha1$1$73616c74$" + hash,
           "pbkdf2-sha256$0$73616c74$" + hash,
           "pbkdf2-sha256$1x$73616c74$" + hash,
           "pbkdf2-sha256$100000001$73616c74$" + hash,
           "pbkdf2-sha256$1$$" + hash,
           "pbkdf2-sha256$1$73616c7$" + hash,
           "pbkdf2-sha256$1$73-16c74$" + hash,
           "pbkdf2-sha256$1$73616c74$" + hash.substr(2),
           "pbkdf2-sha256$1$73616c74",
           "pbkdf2-sha256$1$73616c74$" + hash + "$",
       }) {
    EXPECT_FALSE(PasswordRecord::Parse(text)) << text;
  }
}

// The authority alone over a registry, as the service holds it.
class AuthorityTest : public ::testing::Test {
 protected:
  owner::Reply Send(owner::Ask ask, std::vector<std::string> fields, std::uint32_t session = 1,
                    Millis now = 0) {
    return authority.Serve(Request{ask, std::move(fields)}, {session, false, ""}, now);
  }
  Answer Unlock(const std::string& entry) { return Send(Ask::CheckUnlock, {entry}).answer; }
  Answer Setup(const std::string& entry) { return Send(Ask::CheckSetup, {entry}).answer; }

  sim::SimRegistry registry;
  test::OpenSslKeyMaker keys{&registry};
  sim::SimTextRules text;
  Authority authority{registry, keys, text, 10};
};

TEST_F(AuthorityTest, TakenInPasswordsCompareAsTheGuardAlwaysDid) {
  test::StoreSetting(registry, "UserPassword", "abcdefghij");
  test::StoreSetting(registry, "UserPassword2", "Admin");
  authority.TakeIn();
  EXPECT_FALSE(test::HasStoredSetting(registry, "UserPassword"));
  EXPECT_FALSE(test::HasStoredSetting(registry, "UserPassword2"));
  const std::string record = registry.GetString(HKEY_LOCAL_MACHINE_, kVaultPath, "Unlock");
  EXPECT_TRUE(PasswordRecord::Parse(record));
  EXPECT_EQ(record.find("abcdefgh"), std::string::npos);

  // The entry is lowered and counts with its first 8 characters, like the stored one.
  EXPECT_EQ(Unlock("ABCDEFGH"), Answer::Right);
  EXPECT_EQ(Unlock("abcdefghzzz"), Answer::Right);
  EXPECT_EQ(Unlock("abcdefg"), Answer::Wrong);
  EXPECT_EQ(Unlock(""), Answer::Wrong);
  // Stored capitals never matched a lowered entry, and still do not.
  EXPECT_EQ(Setup("Admin"), Answer::Wrong);

  // An empty plain-text password is taken in as none: the empty entry is right.
  test::StoreSetting(registry, "UserPassword", "");
  authority.TakeIn();
  EXPECT_FALSE(test::HasStoredSetting(registry, "UserPassword"));
  EXPECT_FALSE(registry.HasValue(HKEY_LOCAL_MACHINE_, kVaultPath, "Unlock"));
  EXPECT_EQ(Unlock(""), Answer::Right);
  EXPECT_EQ(Unlock("abcdefgh"), Answer::Wrong);
}

TEST_F(AuthorityTest, AStoreOfSettingsIsTakenWholeOrRefusedWhole) {
  test::StoreSetting(registry, "UserPassword2", "admin");
  authority.TakeIn();
  test::StoreWord(registry, 1, "casino,1");
  const std::vector<std::vector<std::string>> malformed = {
      {"admin", "1", "UserPassword", "open"},  // a password is never a setting
      {"admin", "1", "TimeDelay", "0"},        // nor is what the setup window does not edit
      {"admin", "1", "webbrowser"},
      {"admin", "x"},
      {"admin", "-1", "poker,1"},
      {"admin", "0", "poker"},
      {"admin"},
  };
  for (std::size_t i = 0; i < malformed.size(); ++i) {
    EXPECT_EQ(Send(Ask::StoreSettings, malformed[i]).answer, Answer::BadRequest) << i;
  }
  std::vector<std::string> tooMany{"admin", "0"};
  tooMany.resize(2 + 1001, "word,1");
  EXPECT_EQ(Send(Ask::StoreSettings, tooMany).answer, Answer::BadRequest);
  EXPECT_EQ(Send(Ask::StoreSettings, {"nimda", "1", "webbrowser", "Firefox", "poker,1"}).answer,
            Answer::Wrong);
  EXPECT_FALSE(test::HasStoredSetting(registry, "UserPassword"));
  EXPECT_FALSE(test::HasStoredSetting(registry, "webbrowser"));
  EXPECT_FALSE(test::HasStoredWord(registry, 0));

  EXPECT_EQ(Send(Ask::StoreSettings, {"ADMIN", "1", "WebBrowser", "Firefox", "poker,1"}).answer,
            Answer::Right);
  EXPECT_EQ(test::StoredWord(registry, 0), "poker,1");
  EXPECT_FALSE(test::HasStoredWord(registry, 1));
  EXPECT_EQ(test::StoredSetting(registry, "webbrowser"), "Firefox");
  EXPECT_EQ(test::StoredSetting(registry, "FirstTime"), "1");
}

TEST_F(AuthorityTest, ThirtyChecksAMinuteReachTheComparisonInEachSession) {
  test::StoreSetting(registry, "UserPassword2", "admin");
  authority.TakeIn();
  for (int i = 0; i < 30; ++i) Send(Ask::CheckUnlock, {"guess"}, 1, i * 1000);
  const int derivations = keys.derivations;
  const owner::Reply wait = Send(Ask::CheckUnlock, {"guess"}, 1, 29'500);
  EXPECT_EQ(wait.answer, Answer::Wait);
  EXPECT_EQ(wait.seconds, 31u);  // until the first check is a minute old, rounded up
  // A store carries a check of the setup password and waits as well, storing nothing.
  EXPECT_EQ(Send(Ask::StoreSettings, {"admin", "0", "poker,1"}, 1, 29'500).answer, Answer::Wait);
  EXPECT_FALSE(test::HasStoredWord(registry, 0));
  EXPECT_EQ(keys.derivations, derivations);

  EXPECT_EQ(Send(Ask::CheckSetup, {"admin"}, 2, 29'500).answer, Answer::Right);
  EXPECT_EQ(Send(Ask::CheckSetup, {"admin"}, 1, 60'000).answer, Answer::Right);
  EXPECT_EQ(Send(Ask::CheckSetup, {"admin"}, 1, 60'000).answer, Answer::Wait);
}

// Counts the slow derivations, those of a stored password, apart from a quick one-round tag.
class CountingKeys : public test::OpenSslKeyMaker {
 public:
  using OpenSslKeyMaker::OpenSslKeyMaker;
  std::vector<std::uint8_t> DeriveKey(std::string_view password,
                                      const std::vector<std::uint8_t>& salt,
                                      std::uint32_t iterations) override {
    if (iterations > 1) ++slow;
    return OpenSslKeyMaker::DeriveKey(password, salt, iterations);
  }
  int slow = 0;
};

TEST(RememberedSetupTest, ARightSetupPasswordSkipsTheHashOnlyForItsProcessUntilItChanges) {
  sim::SimRegistry registry;
  CountingKeys keys{&registry};
  sim::SimTextRules text;
  Authority authority{registry, keys, text, 10};
  test::StoreSetting(registry, "UserPassword2", "admin");
  authority.TakeIn();
  const auto check = [&](const std::string& entry, std::uint32_t process, Millis now) {
    return authority.Serve(Request{Ask::CheckSetup, {entry}}, {1, false, "", process}, now).answer;
  };
  ASSERT_EQ(check("admin", 40, 0), Answer::Right);
  keys.slow = 0;
  EXPECT_EQ(check("ADMIN", 40, 1000), Answer::Right);
  EXPECT_EQ(keys.slow, 0);
  // Anything else is checked in full: a wrong entry, another process, one the system did not
  // name, a verdict grown old.
  EXPECT_EQ(check("nimda", 40, 1000), Answer::Wrong);
  EXPECT_EQ(check("admin", 0, 1000), Answer::Right);
  EXPECT_EQ(check("admin", 41, 1000), Answer::Right);
  EXPECT_EQ(check("admin", 41, 1000 + Authority::kRememberFor), Answer::Right);
  EXPECT_EQ(keys.slow, 4);

  // A new setup password, however stored, ends what was remembered of the old one.
  test::StoreSetting(registry, "UserPassword2", "newer");
  authority.TakeIn();
  EXPECT_EQ(check("admin", 41, 2000 + Authority::kRememberFor), Answer::Wrong);
  EXPECT_EQ(check("newer", 41, 2000 + Authority::kRememberFor), Answer::Right);
}

}  // namespace
}  // namespace pw::service
