// The store against a registry that misbehaves: every call goes to a simulated registry, but
// query results can be altered, and every handle is checked to be closed exactly once.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "platform/sim/sim_registry.h"
#include "store/registry_module.h"
#include "tests/support/stored.h"

namespace pw {
namespace {

constexpr RegKey HKLM = HKEY_LOCAL_MACHINE_;
constexpr const char* kKey = test::kSettingsPath;

class WatchedRegistry : public RegistryApi {
 public:
  explicit WatchedRegistry(sim::SimRegistry& sim) : sim_(sim) {}

  long RegOpenKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                     std::uint32_t access, RegKey& result) override {
    calls.push_back("open");
    const long code = sim_.RegOpenKeyExA(root, path, options, access, result);
    if (code == ERROR_SUCCESS_) ++opened[result];
    return code;
  }
  long RegCreateKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                       std::uint32_t access, RegKey& result, std::uint32_t& disposition) override {
    calls.push_back("create");
    const long code = sim_.RegCreateKeyExA(root, path, options, access, result, disposition);
    if (code == ERROR_SUCCESS_) ++opened[result];
    return code;
  }
  long RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                      const std::uint8_t* data, std::uint32_t size) override {
    calls.push_back("set");
    return sim_.RegSetValueExA(key, name, type, data, size);
  }
  // The n-th query (from 1) goes through `alter` when one is set.
  long RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t& type,
                        std::uint8_t* data, std::uint32_t& size) override {
    calls.push_back("query");
    const int n = ++queries;
    if (alter) {
      if (auto code = alter(n, type, data, size)) return *code;
    }
    return sim_.RegQueryValueExA(key, name, type, data, size);
  }
  long RegDeleteValueA(RegKey key, const std::string& name) override {
    calls.push_back("delete");
    return sim_.RegDeleteValueA(key, name);
  }
  long RegCloseKey(RegKey key) override {
    calls.push_back("close");
    ++closed[key];
    return sim_.RegCloseKey(key);
  }
  long RegNotifyChangeKeyValue(RegKey key, std::function<void()> onChange) override {
    calls.push_back("notify");
    return sim_.RegNotifyChangeKeyValue(key, std::move(onChange));
  }

  // Returns a result code to replace the real call, or nothing to make it.
  std::function<std::optional<long>(int n, std::uint32_t& type, std::uint8_t* data,
                                    std::uint32_t& size)>
      alter;
  std::vector<std::string> calls;
  std::map<RegKey, int> opened, closed;
  int queries = 0;

 private:
  sim::SimRegistry& sim_;
};

class RegistryModuleCallsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(api.closed, api.opened) << "every handle is closed exactly once";
    EXPECT_EQ(sim.OpenHandleCount(), 0);
  }

  sim::SimRegistry sim;
  WatchedRegistry api{sim};
  RegistryModule store{api};
};

using Calls = std::vector<std::string>;

TEST_F(RegistryModuleCallsTest, OneOpenOneQueryOneClosePerReadAndOneOpenPerWriteToAnExistingKey) {
  sim.PutString(HKLM, kKey, "v", "x");
  store.GetRegValue(HKLM, kKey, "v");
  store.GetRegValue(HKLM, kKey, "absent");
  EXPECT_EQ(api.calls, (Calls{"open", "query", "close", "open", "query", "close"}));
  api.calls.clear();
  store.GetRegValue(HKLM, "SOFTWARE\\Nowhere", "v");
  EXPECT_EQ(api.calls, (Calls{"open"}));  // nothing opened, nothing to close
  api.calls.clear();
  EXPECT_TRUE(store.SaveRegValue(HKLM, kKey, "v", std::string("y")));
  EXPECT_EQ(api.calls, (Calls{"open", "set", "close"}));
}

TEST_F(RegistryModuleCallsTest, AWriteToAMissingKeyCreatesItThenOpensItAgain) {
  EXPECT_TRUE(store.SaveRegValue(HKLM, kKey, "v", std::string("y")));
  EXPECT_EQ(api.calls, (Calls{"open", "create", "close", "open", "set", "close"}));
  api.calls.clear();
  sim.RefuseWritesUnder("SOFTWARE\\Other");
  EXPECT_FALSE(store.SaveRegValue(HKLM, "SOFTWARE\\Other\\Key", "v", std::string("y")));
  EXPECT_EQ(api.calls, (Calls{"open", "create", "open"}));  // no handle, no write
  api.calls.clear();
  EXPECT_THROW(store.SaveRegValue(HKLM, kKey, "v", 1.5), UnsupportedValueType);
  EXPECT_EQ(api.calls, (Calls{"open", "close"}));  // closed before the error
}

TEST_F(RegistryModuleCallsTest, ASecondQueryThatFailsOrGrowsGivesTheDefault) {
  sim.PutString(HKLM, kKey, "long", std::string(1500, 'x'));
  const RegistryValue fallback = std::string("d");
  for (long code : {ERROR_FILE_NOT_FOUND_, ERROR_MORE_DATA_}) {
    api.queries = 0;
    api.alter = [code](int n, std::uint32_t&, std::uint8_t*,
                       std::uint32_t& size) -> std::optional<long> {
      if (n != 2) return std::nullopt;
      size = 4000;  // claims more than the buffer it was given
      return code;
    };
    EXPECT_EQ(store.GetRegValue(HKLM, kKey, "long", fallback), fallback) << code;
  }
  // A second query that succeeds with fewer bytes than first reported keeps just those.
  api.queries = 0;
  api.alter = [](int n, std::uint32_t& type, std::uint8_t* data,
                 std::uint32_t& size) -> std::optional<long> {
    if (n != 2) return std::nullopt;
    type = REG_SZ_;
    data[0] = 'a';
    data[1] = 0;
    size = 2;
    return ERROR_SUCCESS_;
  };
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "long"), RegistryValue(std::string("a")));
}

TEST_F(RegistryModuleCallsTest, ImpossibleSizesAreNeverReadOrAllocated) {
  sim.PutString(HKLM, kKey, "v", "abc");
  const RegistryValue fallback = std::int32_t{9};
  for (std::uint32_t claimed : {0xFFFFFFFFu, 1024u, 0u}) {
    api.queries = 0;
    api.alter = [claimed](int n, std::uint32_t& type, std::uint8_t*,
                          std::uint32_t& size) -> std::optional<long> {
      if (n != 1) return ERROR_SUCCESS_;
      type = REG_SZ_;
      size = claimed;
      return ERROR_MORE_DATA_;
    };
    EXPECT_EQ(store.GetRegValue(HKLM, kKey, "v", fallback), fallback) << claimed;
    EXPECT_EQ(api.queries, 1);
  }
  // Success reported with a size beyond the 1024-byte buffer.
  api.alter = [](int, std::uint32_t& type, std::uint8_t*, std::uint32_t& size) {
    type = REG_BINARY_;
    size = 5000;
    return std::optional<long>(ERROR_SUCCESS_);
  };
  EXPECT_EQ(store.GetRegValue(HKLM, kKey, "v", fallback), fallback);
}

}  // namespace
}  // namespace pw
