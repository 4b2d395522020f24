#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry_api.h"

namespace pw::sim {

class SimWorld;

// A registry model: keys under the predefined roots, typed values with their real byte sizes,
// handles that must be closed and that carry the access they were opened with, and keys under
// which writes are refused (as a standard user is refused under HKEY_LOCAL_MACHINE). Paths and
// names compare letter case aside; empty path parts (a trailing backslash) are ignored.
// Change notices go to the simulated process that asked, through its event loop; without a
// world there is no one to deliver them and asking for one fails. Single-threaded.
class SimRegistry : public RegistryApi {
 public:
  explicit SimRegistry(SimWorld* world = nullptr) : world_(world) {}

  long RegOpenKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                     std::uint32_t access, RegKey& result) override;
  long RegCreateKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                       std::uint32_t access, RegKey& result, std::uint32_t& disposition) override;
  long RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                      const std::uint8_t* data, std::uint32_t size) override;
  long RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t& type,
                        std::uint8_t* data, std::uint32_t& size) override;
  long RegDeleteValueA(RegKey key, const std::string& name) override;
  long RegCloseKey(RegKey key) override;
  long RegNotifyChangeKeyValue(RegKey key, std::function<void()> onChange) override;

  // For tests: stored exactly as given (no terminator added).
  void Put(RegKey root, const std::string& path, const std::string& name, std::uint32_t type,
           std::vector<std::uint8_t> bytes);
  void PutString(RegKey root, const std::string& path, const std::string& name,
                 const std::string& value);
  void PutDword(RegKey root, const std::string& path, const std::string& name, std::uint32_t value);
  std::optional<std::pair<std::uint32_t, std::vector<std::uint8_t>>> Get(
      RegKey root, const std::string& path, const std::string& name) const;
  // REG_SZ data without its terminator; empty for a missing value or another type.
  std::string GetString(RegKey root, const std::string& path, const std::string& name) const;
  bool HasValue(RegKey root, const std::string& path, const std::string& name) const {
    return Get(root, path, name).has_value();
  }
  bool KeyExists(RegKey root, const std::string& path) const;
  std::vector<std::string> ValueNames(RegKey root, const std::string& path) const;
  // Removes the key with its values and every key below it, as another tool would.
  void DeleteKey(RegKey root, const std::string& path);
  // Removes every key and value and lifts refused writes. Handles stay open (and must still be
  // closed); operations on them report their key as deleted.
  void Clear();

  // Opening for writing, creating keys and writing values at or below the path fail with
  // ERROR_ACCESS_DENIED; reading still works. "" refuses every write under the root.
  void RefuseWritesUnder(RegKey root, const std::string& path);
  void RefuseWritesUnder(const std::string& path) { RefuseWritesUnder(HKEY_LOCAL_MACHINE_, path); }
  void AllowWrites() { refused_.clear(); }

  // Only SYSTEM and Administrators may open the key and what lies below it, as the access list
  // the service gives its vault: a standard user's view is refused even reading.
  void Protect(RegKey root, const std::string& path);
  bool Protected(RegKey root, const std::string& path) const;
  // The same registry as a standard user sees it: HKEY_LOCAL_MACHINE readable but not
  // writable, a protected key neither. The registry itself acts for an administrator.
  RegistryApi& StandardUser() { return standardUser_; }

  int OpenHandleCount() const { return static_cast<int>(handles_.size()); }
  // Notices asked for and not yet given.
  int WatchCount() const { return static_cast<int>(watches_.size()); }
  // RegQueryValueExA calls so far, successful or not.
  long QueryCount() const { return queries_; }

 private:
  struct Handle {
    std::string key;
    std::uint32_t access = 0;
  };
  // Forwards every call, refusing what a standard user may not do.
  class UserView : public RegistryApi {
   public:
    explicit UserView(SimRegistry& registry) : r_(registry) {}
    long RegOpenKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                       std::uint32_t access, RegKey& result) override;
    long RegCreateKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                         std::uint32_t access, RegKey& result, std::uint32_t& disposition) override;
    long RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t size) override {
      return r_.RegSetValueExA(key, name, type, data, size);
    }
    long RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t& type,
                          std::uint8_t* data, std::uint32_t& size) override {
      return r_.RegQueryValueExA(key, name, type, data, size);
    }
    long RegDeleteValueA(RegKey key, const std::string& name) override {
      return r_.RegDeleteValueA(key, name);
    }
    long RegCloseKey(RegKey key) override { return r_.RegCloseKey(key); }
    long RegNotifyChangeKeyValue(RegKey key, std::function<void()> onChange) override {
      return r_.RegNotifyChangeKeyValue(key, std::move(onChange));
    }

   private:
    // Whether a standard user is refused the key below root (a handle or a predefined root).
    bool Refuses(RegKey root, const std::string& path, std::uint32_t access, bool creating);
    SimRegistry& r_;
  };

  struct Value {
    std::string name;  // as first written
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
  };
  using Values = std::map<std::string, Value>;  // by lower-cased name

  static std::string Normalize(RegKey root, const std::string& path);
  bool Refused(const std::string& key) const;
  // The key a handle or predefined root stands for, with the access it grants.
  std::optional<Handle> Resolve(RegKey handle) const;
  Values* ValuesOf(const std::string& key);
  RegKey NewHandle(const std::string& key, std::uint32_t access);
  // Creates the key and every missing level above it; a new level is a change of its parent.
  void CreateLevels(const std::string& key);
  // Hands every notice asked for on the key to its process.
  void Changed(const std::string& key);

  std::map<std::string, Values> keys_;  // by normalized path "root\a\b"
  std::map<RegKey, Handle> handles_;
  std::set<std::string> refused_;
  std::set<std::string> protected_;
  UserView standardUser_{*this};
  struct Watch {
    RegKey handle = 0;
    std::string key;
    int process = 0;
    std::function<void()> onChange;
  };
  std::vector<Watch> watches_;
  SimWorld* world_;
  RegKey nextHandle_ = 0x100;
  long queries_ = 0;
};

}  // namespace pw::sim
