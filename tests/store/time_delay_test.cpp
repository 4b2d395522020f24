#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"
#include "store/registry_module.h"
#include "store/settings_layout.h"
#include "store/time_delay.h"

namespace pw {
namespace {

TEST(TimeDelayTest, WholeNumbersFromFiveToNinetyNineAreKept) {
  EXPECT_EQ(ParseTimeDelay("12"), 12);
  EXPECT_EQ(ParseTimeDelay(" 7 "), 7);
  EXPECT_EQ(ParseTimeDelay("5"), 5);
  EXPECT_EQ(ParseTimeDelay("99"), 99);
  EXPECT_EQ(ParseTimeDelay("+8"), 8);
  EXPECT_EQ(ParseTimeDelay("1e1"), 10);
}

TEST(TimeDelayTest, FractionsRoundHalvesToEven) {
  EXPECT_EQ(ParseTimeDelay("5.5"), 6);
  EXPECT_EQ(ParseTimeDelay("6.5"), 6);
  EXPECT_EQ(ParseTimeDelay("7.49"), 7);
  EXPECT_EQ(ParseTimeDelay("4.5"), 0);   // 4, below the range
  EXPECT_EQ(ParseTimeDelay("99.5"), 0);  // 100
}

TEST(TimeDelayTest, LengthAndDigitCountDoNotChangeTheReading) {
  EXPECT_EQ(ParseTimeDelay(std::string(70, '0') + "12"), 12);
  EXPECT_EQ(ParseTimeDelay("12" + std::string(".") + std::string(80, '0')), 12);
  EXPECT_EQ(ParseTimeDelay(" " + std::string(100, '0') + "7.5 "), 8);
  // Halves decided on every digit, not on the nearest double.
  EXPECT_EQ(ParseTimeDelay("12.50000000000000001"), 13);
  EXPECT_EQ(ParseTimeDelay("13.49999999999999999"), 13);
  EXPECT_EQ(ParseTimeDelay("04.50000000000000000001E0000000000000000"), 5);
  EXPECT_EQ(ParseTimeDelay("0.000000000000000000000000000000000000012e39"), 12);
  EXPECT_EQ(ParseTimeDelay("1e-99999999999999999999"), 0);
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
