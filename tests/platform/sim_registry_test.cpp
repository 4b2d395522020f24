#include "platform/sim/sim_registry.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_host.h"
#include "platform/sim/sim_machine.h"

namespace pw {
namespace {

constexpr RegKey HKLM = HKEY_LOCAL_MACHINE_;
using Bytes = std::vector<std::uint8_t>;

class SimRegistryTest : public ::testing::Test {
 protected:
  RegKey Open(const std::string& path, std::uint32_t access = KEY_READ_) {
    RegKey key = 0;
    EXPECT_EQ(reg.RegOpenKeyExA(HKLM, path, 0, access, key), ERROR_SUCCESS_) << path;
    return key;
  }
  long Set(RegKey key, const std::string& name, std::uint32_t type, const std::string& data) {
    return reg.RegSetValueExA(key, name, type, reinterpret_cast<const std::uint8_t*>(data.data()),
                              static_cast<std::uint32_t>(data.size()));
  }

  sim::SimRegistry reg;
};

TEST_F(SimRegistryTest, CreatingMakesEveryLevelAndReportsWhetherTheKeyWasNew) {
  RegKey key = 0;
  std::uint32_t disposition = 0;
  ASSERT_EQ(reg.RegCreateKeyExA(HKLM, "SOFTWARE\\A\\B\\", 0, 0, key, disposition), 0);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY_);
  EXPECT_NE(key, 0u);
  EXPECT_TRUE(reg.KeyExists(HKLM, "software\\a"));
  EXPECT_TRUE(reg.KeyExists(HKLM, "SOFTWARE\\A\\B"));
  RegKey again = 0;
  ASSERT_EQ(reg.RegCreateKeyExA(HKLM, "Software\\a\\b", 0, 0, again, disposition), 0);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY_);
  EXPECT_NE(again, key);  // every open gets its own handle
  EXPECT_EQ(reg.OpenHandleCount(), 2);

  // Below an open handle, too.
  RegKey child = 0;
  ASSERT_EQ(reg.RegCreateKeyExA(key, "C", 0, 0, child, disposition), 0);
  EXPECT_TRUE(reg.KeyExists(HKLM, "SOFTWARE\\A\\B\\C"));
  for (RegKey k : {key, again, child}) EXPECT_EQ(reg.RegCloseKey(k), 0);
  EXPECT_EQ(reg.OpenHandleCount(), 0);
  EXPECT_TRUE(reg.KeyExists(HKLM, ""));  // the root itself
}

TEST_F(SimRegistryTest, HandlesAreCheckedAndClosedOnce) {
  RegKey key = 99;
  EXPECT_EQ(reg.RegOpenKeyExA(HKLM, "SOFTWARE\\Missing", 0, KEY_READ_, key), ERROR_FILE_NOT_FOUND_);
  EXPECT_EQ(key, 0u);
  EXPECT_FALSE(reg.KeyExists(HKLM, "SOFTWARE\\Missing"));  // opening creates nothing
  reg.PutString(HKLM, "SOFTWARE\\K", "v", "x");
  key = Open("SOFTWARE\\K");
  EXPECT_EQ(reg.RegCloseKey(key), ERROR_SUCCESS_);
  EXPECT_EQ(reg.RegCloseKey(key), ERROR_INVALID_HANDLE_);
  EXPECT_EQ(reg.RegCloseKey(0), ERROR_INVALID_HANDLE_);

  std::uint32_t type = 0, size = 0;
  RegKey sub = 0;
  std::uint32_t disp = 0;
  EXPECT_EQ(reg.RegQueryValueExA(key, "v", type, nullptr, size), ERROR_INVALID_HANDLE_);
  EXPECT_EQ(Set(key, "v", REG_SZ_, "y"), ERROR_INVALID_HANDLE_);
  EXPECT_EQ(reg.RegDeleteValueA(key, "v"), ERROR_INVALID_HANDLE_);
  EXPECT_EQ(reg.RegOpenKeyExA(key, "", 0, KEY_READ_, sub), ERROR_INVALID_HANDLE_);
  EXPECT_EQ(reg.RegCreateKeyExA(key, "x", 0, 0, sub, disp), ERROR_INVALID_HANDLE_);
  EXPECT_EQ(reg.GetString(HKLM, "SOFTWARE\\K", "v"), "x");
  EXPECT_EQ(reg.OpenHandleCount(), 0);
}

TEST_F(SimRegistryTest, StringDataGainsItsTerminatorOtherDataIsStoredExactly) {
  reg.PutString(HKLM, "SOFTWARE\\K", "seed", "");
  const RegKey key = Open("SOFTWARE\\K", KEY_WRITE_);
  EXPECT_EQ(Set(key, "sz", REG_SZ_, "abc"), 0);
  EXPECT_EQ(Set(key, "terminated", REG_SZ_, std::string("abc\0", 4)), 0);
  EXPECT_EQ(Set(key, "empty", REG_SZ_, ""), 0);
  EXPECT_EQ(Set(key, "expand", REG_EXPAND_SZ_, "%TEMP%"), 0);
  EXPECT_EQ(Set(key, "bin", REG_BINARY_, "ab"), 0);
  EXPECT_EQ(Set(key, "multi", REG_MULTI_SZ_, std::string("a\0b\0\0", 5)), 0);
  EXPECT_EQ(reg.RegSetValueExA(key, "bad", REG_BINARY_, nullptr, 3), 87);
  reg.RegCloseKey(key);

  auto bytes = [&](const char* name) { return reg.Get(HKLM, "SOFTWARE\\K", name)->second; };
  EXPECT_EQ(bytes("sz"), (Bytes{'a', 'b', 'c', 0}));
  EXPECT_EQ(bytes("terminated"), (Bytes{'a', 'b', 'c', 0}));
  EXPECT_TRUE(bytes("empty").empty());
  EXPECT_EQ(bytes("expand").size(), 7u);
  EXPECT_EQ(reg.Get(HKLM, "SOFTWARE\\K", "expand")->first, REG_EXPAND_SZ_);
  EXPECT_EQ(bytes("bin"), (Bytes{'a', 'b'}));
  EXPECT_EQ(bytes("multi"), (Bytes{'a', 0, 'b', 0, 0}));
  EXPECT_FALSE(reg.HasValue(HKLM, "SOFTWARE\\K", "bad"));
  EXPECT_EQ(reg.GetString(HKLM, "software\\k", "SZ"), "abc");
  EXPECT_EQ(reg.ValueNames(HKLM, "SOFTWARE\\K").size(), 7u);
}

TEST_F(SimRegistryTest, QueriesHonourTheBufferSize) {
  reg.PutString(HKLM, "SOFTWARE\\K", "v", "hello");
  reg.PutDword(HKLM, "SOFTWARE\\K", "d", 12);
  const RegKey key = Open("SOFTWARE\\K");
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(reg.RegQueryValueExA(key, "V", type, nullptr, size), ERROR_SUCCESS_);
  EXPECT_EQ(type, REG_SZ_);
  EXPECT_EQ(size, 6u);

  std::uint8_t buffer[8] = {};
  type = 0, size = 3;
  EXPECT_EQ(reg.RegQueryValueExA(key, "v", type, buffer, size), ERROR_MORE_DATA_);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(type, REG_SZ_);
  EXPECT_EQ(buffer[0], 0);  // nothing written into a short buffer
  size = sizeof buffer;
  EXPECT_EQ(reg.RegQueryValueExA(key, "v", type, buffer, size), ERROR_SUCCESS_);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size), std::string("hello\0", 6));
  size = sizeof buffer;
  EXPECT_EQ(reg.RegQueryValueExA(key, "d", type, buffer, size), ERROR_SUCCESS_);
  EXPECT_EQ(type, REG_DWORD_);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(buffer[0], 12);

  type = 77, size = sizeof buffer;
  EXPECT_EQ(reg.RegQueryValueExA(key, "absent", type, buffer, size), ERROR_FILE_NOT_FOUND_);
  EXPECT_EQ(type, 77u);  // a missing value reports no type
  EXPECT_EQ(reg.QueryCount(), 5);
  reg.RegCloseKey(key);
}

TEST_F(SimRegistryTest, HandlesGrantOnlyTheAccessTheyWereOpenedWith) {
  reg.PutString(HKLM, "SOFTWARE\\K", "v", "x");
  const RegKey reader = Open("SOFTWARE\\K", KEY_READ_);
  const RegKey writer = Open("SOFTWARE\\K", KEY_WRITE_);
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(Set(reader, "v", REG_SZ_, "y"), ERROR_ACCESS_DENIED_);
  EXPECT_EQ(reg.RegDeleteValueA(reader, "v"), ERROR_ACCESS_DENIED_);
  EXPECT_EQ(reg.RegQueryValueExA(writer, "v", type, nullptr, size), ERROR_ACCESS_DENIED_);
  EXPECT_EQ(reg.RegDeleteValueA(writer, "v"), ERROR_SUCCESS_);
  EXPECT_EQ(reg.RegDeleteValueA(writer, "v"), ERROR_FILE_NOT_FOUND_);
  reg.RegCloseKey(reader);
  reg.RegCloseKey(writer);
}

TEST_F(SimRegistryTest, RefusedWritesFailWhileReadsWork) {
  reg.PutString(HKLM, "SOFTWARE\\Tarnwick\\Addon2\\Settings", "v", "x");
  reg.RefuseWritesUnder("software\\tarnwick");
  RegKey key = 0;
  std::uint32_t disposition = 0;
  EXPECT_EQ(reg.RegOpenKeyExA(HKLM, "SOFTWARE\\Tarnwick\\Addon2\\Settings", 0, KEY_WRITE_, key),
            ERROR_ACCESS_DENIED_);
  EXPECT_EQ(reg.RegOpenKeyExA(HKLM, "SOFTWARE\\Tarnwick", 0, 0x2, key), ERROR_ACCESS_DENIED_);
  EXPECT_EQ(reg.RegCreateKeyExA(HKLM, "SOFTWARE\\Tarnwick\\New", 0, 0, key, disposition),
            ERROR_ACCESS_DENIED_);
  EXPECT_FALSE(reg.KeyExists(HKLM, "SOFTWARE\\Tarnwick\\New"));
  // An existing key opens without write access, as for a standard user.
  ASSERT_EQ(reg.RegCreateKeyExA(HKLM, "SOFTWARE\\Tarnwick", 0, 0, key, disposition), 0);
  reg.RegCloseKey(key);
  EXPECT_EQ(reg.RegCreateKeyExA(HKLM, "SOFTWARE\\Tarnwick", 0, KEY_WRITE_, key, disposition),
            ERROR_ACCESS_DENIED_);
  // Outside the refused path, and after lifting it, writes work.
  ASSERT_EQ(reg.RegCreateKeyExA(HKLM, "SOFTWARE\\TarnwickOther", 0, 0, key, disposition), 0);
  reg.RegCloseKey(key);
  key = Open("SOFTWARE\\Tarnwick\\Addon2\\Settings");
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(reg.RegQueryValueExA(key, "v", type, nullptr, size), ERROR_SUCCESS_);
  reg.RegCloseKey(key);

  reg.AllowWrites();
  key = Open("SOFTWARE\\Tarnwick\\Addon2\\Settings", KEY_WRITE_);
  EXPECT_EQ(Set(key, "v", REG_SZ_, "y"), 0);
  reg.RefuseWritesUnder("");                                     // everything under the root
  EXPECT_EQ(Set(key, "v", REG_SZ_, "z"), ERROR_ACCESS_DENIED_);  // also on a handle already open
  reg.RegCloseKey(key);
  EXPECT_EQ(reg.RegCreateKeyExA(HKLM, "Elsewhere", 0, 0, key, disposition), ERROR_ACCESS_DENIED_);
  EXPECT_EQ(reg.GetString(HKLM, "SOFTWARE\\Tarnwick\\Addon2\\Settings", "v"), "y");
  EXPECT_EQ(reg.OpenHandleCount(), 0);
}

TEST_F(SimRegistryTest, ClearEmptiesTheRegistryAndOpenHandlesSeeTheirKeyGone) {
  reg.PutString(HKLM, "SOFTWARE\\K", "v", "x");
  const RegKey key = Open("SOFTWARE\\K");
  reg.Clear();
  EXPECT_FALSE(reg.KeyExists(HKLM, "SOFTWARE\\K"));
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(reg.RegQueryValueExA(key, "v", type, nullptr, size), 1018);  // key deleted
  EXPECT_FALSE(reg.KeyExists(HKLM, "SOFTWARE\\K"));                      // and not brought back
  EXPECT_EQ(reg.RegCloseKey(key), ERROR_SUCCESS_);
}

// Notices go to the process that asked, from its event loop, once per request.
TEST(SimRegistryNoticeTest, ChangesAreNoticedOnceByTheAskingProcessAfterTheWrite) {
  sim::SimMachine machine;
  sim::SimRegistry& reg = machine.registry;
  sim::SimHost watcher(machine, "watcher");
  machine.world.Start(watcher.pid, [&] {
    for (;;) watcher.toolkit.DoEvents();
  });
  reg.PutString(HKLM, "SOFTWARE\\W", "a", "1");
  RegKey key = 0;
  RegKey readOnly = 0;
  std::vector<std::string> notices;
  auto ask = [&](RegKey k, const std::string& tag) {
    long status = -1;
    machine.world.Post(watcher.pid, [&, k, tag] {
      status = reg.RegNotifyChangeKeyValue(k, [&notices, &machine, tag] {
        EXPECT_NE(machine.world.Running(), sim::SimWorld::kDriver);
        notices.push_back(tag);
      });
    });
    machine.world.RunFor(0);
    return status;
  };
  ASSERT_EQ(reg.RegOpenKeyExA(HKLM, "SOFTWARE\\W", 0, KEY_NOTIFY_, key), ERROR_SUCCESS_);
  ASSERT_EQ(reg.RegOpenKeyExA(HKLM, "SOFTWARE\\W", 0, KEY_READ_ & ~KEY_NOTIFY_, readOnly), 0);
  EXPECT_EQ(ask(readOnly, "x"), ERROR_ACCESS_DENIED_);
  EXPECT_EQ(ask(key, "set"), ERROR_SUCCESS_);

  reg.PutString(HKLM, "SOFTWARE\\W", "b", "2");
  EXPECT_TRUE(notices.empty());  // not from inside the write
  reg.PutString(HKLM, "SOFTWARE\\W", "c", "3");
  reg.PutString(HKLM, "SOFTWARE\\Other", "a", "1");
  machine.world.RunFor(0);
  EXPECT_EQ(notices, std::vector<std::string>{"set"});  // one notice for the burst

  ask(key, "closed");
  reg.RegCloseKey(key);
  reg.PutString(HKLM, "SOFTWARE\\W", "d", "4");
  machine.world.RunFor(0);
  EXPECT_EQ(notices.size(), 1u);
  EXPECT_EQ(reg.WatchCount(), 0);

  ASSERT_EQ(reg.RegOpenKeyExA(HKLM, "SOFTWARE\\W", 0, KEY_NOTIFY_, key), ERROR_SUCCESS_);
  ask(key, "deleted");
  reg.DeleteKey(HKLM, "SOFTWARE");
  machine.world.RunFor(0);
  EXPECT_EQ(notices.back(), "deleted");
  EXPECT_EQ(ask(key, "again"), 1018);  // the key is gone
  reg.RegCloseKey(key);
  reg.RegCloseKey(readOnly);
  EXPECT_EQ(reg.RegNotifyChangeKeyValue(0x4242, [] {}), ERROR_INVALID_HANDLE_);
  machine.world.Kill(watcher.pid);

  sim::SimRegistry alone;  // no processes to tell
  EXPECT_NE(alone.RegNotifyChangeKeyValue(HKLM, [] {}), ERROR_SUCCESS_);
}

}  // namespace
}  // namespace pw
