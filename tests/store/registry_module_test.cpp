#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"
#include "store/registry_module.h"
#include "tests/support/stored.h"

namespace pw {
namespace {

constexpr RegKey HKLM = HKEY_LOCAL_MACHINE_;
constexpr const char* kKey = test::kSettingsPath;

class RegistryModuleTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(sim.OpenHandleCount(), 0) << "a key handle was left open"; }

  std::vector<std::uint8_t> Bytes(const std::string& name) {
    return sim.Get(HKLM, kKey, name)->second;
  }
  std::uint32_t Type(const std::string& name) { return sim.Get(HKLM, kKey, name)->first; }

  sim::SimRegistry sim;
  RegistryModule store{sim};
};

TEST_F(RegistryModuleTest, StringsAreStoredWithOneTerminatorAndReadBack) {
  EXPECT_TRUE(store.SaveRegValue(HKLM, kKey, "abc", std::string("abc")));
  EXPECT_EQ(Type("abc"), REG_SZ_);
  EXPECT_EQ(Bytes("abc"), (std::vector<std::uint8_t>{'a', 'b', 'c', 0}));
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "ABC"), RegistryValue(std::string("abc")));

  EXPECT_TRUE(store.SaveRegValue(HKLM, kKey, "empty", std::string()));
  EXPECT_TRUE(Bytes("empty").empty());
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "empty"), RegistryValue(std::string()));
}

TEST_F(RegistryModuleTest, IntegersAndByteArraysKeepTheirTypes) {
  EXPECT_TRUE(store.SaveRegValue(HKLM, kKey, "five", std::int16_t{5}));
  EXPECT_EQ(Type("five"), REG_DWORD_);
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "five"), RegistryValue(std::int32_t{5}));
  EXPECT_EQ(ValueToText(store.GetRegValue(HKLM, kKey, "five")), "5");
  EXPECT_TRUE(store.SaveRegValue(HKLM, kKey, "minus", std::int32_t{-7}));
  EXPECT_EQ(ValueToText(store.GetRegValue(HKLM, kKey, "minus")), "-7");

  // Any lower bound: the elements are written from the first one.
  EXPECT_TRUE(store.SaveRegValue(HKLM, kKey, "bin", ByteArray{{1, 2, 3}, 5}));
  EXPECT_EQ(Type("bin"), REG_BINARY_);
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "bin"), RegistryValue(ByteArray{{1, 2, 3}, 0}));
  sim.Put(HKLM, kKey, "nothing", REG_BINARY_, {});
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "nothing"), RegistryValue(ByteArray{}));
}

TEST_F(RegistryModuleTest, LongValuesTakeASecondQueryAndComeBackWhole) {
  const std::string text(1500, 'x');
  sim.PutString(HKLM, kKey, "long", text);
  const long before = sim.QueryCount();
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "long"), RegistryValue(text));
  EXPECT_EQ(sim.QueryCount() - before, 2);
  sim.PutString(HKLM, kKey, "short", "abc");
  const long second = sim.QueryCount();
  store.GetRegValue(HKLM, kKey, "short");
  EXPECT_EQ(sim.QueryCount() - second, 1);
  const std::string huge(1 << 20, 'h');
  sim.PutString(HKLM, kKey, "huge", huge);
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "huge"), RegistryValue(huge));
}

TEST_F(RegistryModuleTest, OtherStringTypesReadAsText) {
  sim.Put(HKLM, kKey, "expand", REG_EXPAND_SZ_, {'%', 'P', 'A', 'T', 'H', '%', 0});
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "expand"), RegistryValue(std::string("%PATH%")));
  sim.Put(HKLM, kKey, "multi", REG_MULTI_SZ_, {'a', 0, 'b', 0, 0});
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "multi"), RegistryValue(std::string("a\0b", 3)));
  sim.Put(HKLM, kKey, "multi1", REG_MULTI_SZ_, {0});
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "multi1"), RegistryValue(std::string()));
}

TEST_F(RegistryModuleTest, UnconvertedTypesAndMissingValuesGiveTheDefault) {
  sim.Put(HKLM, kKey, "none", REG_NONE_, {1, 2});
  sim.Put(HKLM, kKey, "big", REG_DWORD_BIG_ENDIAN_, {0, 0, 0, 5});
  sim.Put(HKLM, kKey, "link", 6, {'x'});
  sim.Put(HKLM, kKey, "qword", 11, {1, 0, 0, 0, 0, 0, 0, 0});
  for (const char* name : {"none", "big", "link", "qword", "absent"}) {
    EXPECT_EQ(store.GetRegValue(HKLM, kKey, name), RegistryValue(Empty{})) << name;
    EXPECT_EQ(store.GetRegValue(HKLM, kKey, name, std::string("d")),
              RegistryValue(std::string("d")));
  }
  EXPECT_EQ(store.GetRegValue(HKLM, "SOFTWARE\\Nowhere", "x", std::int32_t{3}),
            RegistryValue(std::int32_t{3}));
  EXPECT_FALSE(sim.KeyExists(HKLM, "SOFTWARE\\Nowhere"));  // reading creates nothing
}

TEST_F(RegistryModuleTest, HostileDataIsReadSafely) {
  sim.Put(HKLM, kKey, "unterminated", REG_SZ_, {'a', 'b', 'c'});
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "unterminated"), RegistryValue(std::string("abc")));
  sim.Put(HKLM, kKey, "nul", REG_SZ_, {'a', 0, 'b', 0});
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "nul"), RegistryValue(std::string("a\0b", 3)));
  // Short DWORD data reads zero-extended, long data by its first four bytes.
  sim.Put(HKLM, kKey, "shortdword", REG_DWORD_, {7, 1});
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "shortdword"), RegistryValue(std::int32_t{0x107}));
  sim.Put(HKLM, kKey, "nodword", REG_DWORD_, {});
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "nodword"), RegistryValue(std::int32_t{0}));
  sim.Put(HKLM, kKey, "longdword", REG_DWORD_, {0xFF, 0xFF, 0xFF, 0xFF, 9});
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "longdword"), RegistryValue(std::int32_t{-1}));
  sim.Put(HKLM, kKey, "zero", REG_SZ_, {});
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "zero"), RegistryValue(std::string()));
  sim.Put(HKLM, kKey, "bin", REG_BINARY_, {'w', 0, 0xFF});
  EXPECT_EQ(ValueToText(store.GetRegValue(HKLM, kKey, "bin")), std::string("w\0\xFF", 3));
}

TEST_F(RegistryModuleTest, WritesCreateMissingKeysAndReuseExistingOnes) {
  EXPECT_TRUE(store.SaveRegValue(HKLM, "SOFTWARE\\A\\B\\C", "v", std::string("1")));
  EXPECT_TRUE(sim.KeyExists(HKLM, "SOFTWARE\\A"));
  EXPECT_TRUE(sim.KeyExists(HKLM, "software\\a\\b\\c"));
  EXPECT_TRUE(store.CreateRegKey(HKLM, "SOFTWARE\\A\\B"));
  EXPECT_FALSE(store.CreateRegKey(HKLM, "SOFTWARE\\A\\New"));
  EXPECT_TRUE(sim.KeyExists(HKLM, "SOFTWARE\\A\\New"));
}

TEST_F(RegistryModuleTest, UnsupportedKindsRaiseError1001AndWriteNothing) {
  sim.PutString(HKLM, kKey, "kept", "old");
  const auto before = sim.Get(HKLM, kKey, "kept");
  for (const char* path : {kKey, "SOFTWARE\\Fresh\\Key"}) {
    for (const RegistryValue& value :
         {RegistryValue(2.5), RegistryValue(true), RegistryValue(OtherValue{"Date", 0}),
          RegistryValue(Empty{})}) {
      try {
        store.SaveRegValue(HKLM, path, "kept", value);
        FAIL() << "no error";
      } catch (const UnsupportedValueType& e) {
        EXPECT_EQ(e.code(), 1001);
        EXPECT_STREQ(e.what(), "Unsupported value type");
      }
      EXPECT_EQ(sim.OpenHandleCount(), 0);
    }
  }
  EXPECT_EQ(sim.Get(HKLM, kKey, "kept"), before);
  EXPECT_EQ(sim.ValueNames(HKLM, kKey).size(), 1u);
  EXPECT_FALSE(sim.KeyExists(HKLM, "SOFTWARE\\Fresh"));  // a refused value creates no key
}

TEST_F(RegistryModuleTest, RefusedWritesReportFalseAndDeleteWorks) {
  sim.RefuseWritesUnder("SOFTWARE\\Tarnwick");
  EXPECT_FALSE(store.SaveRegValue(HKLM, kKey, "v", std::string("x")));
  EXPECT_FALSE(sim.KeyExists(HKLM, kKey));
  sim.AllowWrites();
  sim.PutString(HKLM, kKey, "v", "x");
  sim.RefuseWritesUnder("SOFTWARE\\Tarnwick");
  EXPECT_FALSE(store.SaveRegValue(HKLM, kKey, "v", std::string("y")));
  EXPECT_FALSE(store.DeleteRegValue(HKLM, kKey, "v"));
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "v"), RegistryValue(std::string("x")));  // reads work
  sim.AllowWrites();
  EXPECT_TRUE(store.DeleteRegValue(HKLM, kKey, "v"));
  EXPECT_FALSE(sim.HasValue(HKLM, kKey, "v"));
  EXPECT_TRUE(store.DeleteRegValue(HKLM, kKey, "never"));
  EXPECT_TRUE(store.DeleteRegValue(HKLM, "SOFTWARE\\Missing", "never"));
}

TEST(ValueToTextTest, EveryKindHasAText) {
  EXPECT_EQ(ValueToText(Empty{}), "");
  EXPECT_EQ(ValueToText(std::int16_t{-32768}), "-32768");
  EXPECT_EQ(ValueToText(std::int32_t{2147483647}), "2147483647");
  EXPECT_EQ(ValueToText(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(ValueToText(ByteArray{{'h', 'i'}, 3}), "hi");
  EXPECT_EQ(ValueToText(2.5), "2.5");
  EXPECT_EQ(ValueToText(true), "True");
  EXPECT_EQ(ValueToText(OtherValue{"Date", 0}), "Date");
}

}  // namespace
}  // namespace pw
