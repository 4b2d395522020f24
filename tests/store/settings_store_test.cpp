#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim_registry.h"
#include "store/settings_store.h"
#include "tests/support/stored.h"

namespace pw {
namespace {

constexpr RegKey HKLM = HKEY_LOCAL_MACHINE_;
using test::kSettingsPath;
using test::kWindowsPath;

TEST(SettingsStoreTest, AnEntryIsItsTextAndTheLastCharacterAsFlag) {
  using Parsed = std::optional<WordEntry>;
  EXPECT_EQ(ParseWordEntry("Teen Girls,1"), (Parsed{{"Teen Girls", true}}));
  EXPECT_EQ(ParseWordEntry("Nude,0"), (Parsed{{"Nude", false}}));
  // The character before the flag is dropped unseen, comma or not.
  EXPECT_EQ(ParseWordEntry("ab1"), (Parsed{{"a", true}}));
  EXPECT_EQ(ParseWordEntry("11"), (Parsed{{"", true}}));
  // Commas and digits inside the text belong to it.
  EXPECT_EQ(ParseWordEntry("a,b,1"), (Parsed{{"a,b", true}}));
  EXPECT_EQ(ParseWordEntry("route 1,0,0"), (Parsed{{"route 1,0", false}}));
  EXPECT_EQ(ParseWordEntry(",1"), (Parsed{{"", true}}));
  // No entry: too short to hold the suffix, or a flag other than 0 and 1.
  for (const char* value : {"", "1", "0", "x,2", "x,", "x,1 ", "x,I"}) {
    EXPECT_EQ(ParseWordEntry(value), std::nullopt) << value;
  }
}

TEST(SettingsStoreTest, StoredEntriesReadBackAsTheyWereAndTheRestIsCleared) {
  sim::SimRegistry sim;
  RegistryModule registry(sim);
  const std::vector<WordEntry> longer(7, WordEntry{"old", true});
  ASSERT_TRUE(WriteWordEntries(registry, longer));
  const std::vector<WordEntry> entries = {{"", true},
                                          {"a,1", false},
                                          {"x,0", true},
                                          {std::string("nul\0in", 6), true},
                                          {"\xE9t\xE9", false}};
  ASSERT_TRUE(WriteWordEntries(registry, entries));
  EXPECT_EQ(ReadWordEntries(registry), entries);
  EXPECT_FALSE(sim.HasValue(HKLM, kWindowsPath, "Window5"));
  EXPECT_FALSE(sim.HasValue(HKLM, kWindowsPath, "Window6"));
  EXPECT_EQ(ReadFirstTime(registry), "1");
  EXPECT_EQ(sim.OpenHandleCount(), 0);
}

}  // namespace
}  // namespace pw
