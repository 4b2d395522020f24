#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"
#include "store/registry_module.h"
#include "store/settings_layout.h"
#include "store/time_delay.h"

#include <string>
#include <vector>

namespace pw {
namespace {

struct Reading {
  std::string text;
  int minutes;  // 0: no limit
};

void ExpectReadings(const std::vector<Reading>& readings) {
  for (const Reading& r : readings) {
    EXPECT_EQ(ParseTimeDelay(r.text), r.minutes) << '"' << r.text << '"';
  }
}

TEST(TimeDelayTest, WholeNumbersFromFiveToNinetyNineAreKept) {
  ExpectReadings({{"12", 12}, {" 7 ", 7}, {"5", 5}, {"99", 99}, {"+8", 8}, {"1e1", 10}});
}

TEST(TimeDelayTest, FractionsRoundHalvesToEven) {
  ExpectReadings({{"5.5", 6},
                  {"6.5", 6},
                  {"7.49", 7},
                  {"4.5", 0},     // 4, below the range
                  {"99.5", 0}});  // 100
}

TEST(TimeDelayTest, LengthAndDigitCountDoNotChangeTheReading) {
  ExpectReadings({{std::string(70, '0') + "12", 12},
                  {"12." + std::string(80, '0'), 12},
                  {" " + std::string(100, '0') + "7.5 ", 8},
                  // Halves decided on every digit, not on the nearest double.
                  {"12.50000000000000001", 13},
                  {"13.49999999999999999", 13},
                  {"04.50000000000000000001E0000000000000000", 5},
                  {"0.000000000000000000000000000000000000012e39", 12},
                  {"1e-99999999999999999999", 0}});
}

TEST(TimeDelayTest, AnythingElseMeansNoLimit) {
  for (const char* text : {"4", "100", "0", "-5", "abc", "", "[NOT FOUND]", "99999", "12abc", "1 2",
                           ".", "-", "1e999", "nan", "inf", "0x10", "\t"}) {
    EXPECT_EQ(ParseTimeDelay(text), 0) << '"' << text << '"';
  }
  EXPECT_EQ(ParseTimeDelay(std::string(1 << 20, '1')), 0);
}

TEST(TimeDelayTest, TextAndDwordValuesReadTheSame) {
  sim::SimRegistry sim;
  RegistryModule store(sim);
  auto read = [&] {
    return ParseTimeDelay(
        ValueToText(store.GetRegValue(HKEY_LOCAL_MACHINE_, kSettingsKey, kTimeDelay)));
  };
  EXPECT_EQ(read(), 0);  // absent
  sim.PutString(HKEY_LOCAL_MACHINE_, kSettingsKey, kTimeDelay, "12");
  EXPECT_EQ(read(), 12);
  sim.PutDword(HKEY_LOCAL_MACHINE_, kSettingsKey, kTimeDelay, 12);
  EXPECT_EQ(read(), 12);
  sim.PutDword(HKEY_LOCAL_MACHINE_, kSettingsKey, kTimeDelay, 0xFFFFFFFFu);  // -1
  EXPECT_EQ(read(), 0);
}

}  // namespace
}  // namespace pw
