#include "tests/support/stored.h"

namespace pw::test {

std::string WordName(int n) {
  return "Window" + std::to_string(n);
}

void StoreSetting(sim::SimRegistry& registry, const std::string& name, const std::string& value) {
  registry.PutString(HKEY_LOCAL_MACHINE_, kSettingsPath, name, value);
}

void StoreWord(sim::SimRegistry& registry, int n, const std::string& entry) {
  registry.PutString(HKEY_LOCAL_MACHINE_, kWindowsPath, WordName(n), entry);
}

std::string StoredSetting(const sim::SimRegistry& registry, const std::string& name) {
  return registry.GetString(HKEY_LOCAL_MACHINE_, kSettingsPath, name);
}

std::string StoredWord(const sim::SimRegistry& registry, int n) {
  return registry.GetString(HKEY_LOCAL_MACHINE_, kWindowsPath, WordName(n));
}

bool HasStoredSetting(const sim::SimRegistry& registry, const std::string& name) {
  return registry.HasValue(HKEY_LOCAL_MACHINE_, kSettingsPath, name);
}

bool HasStoredWord(const sim::SimRegistry& registry, int n) {
  return registry.HasValue(HKEY_LOCAL_MACHINE_, kWindowsPath, WordName(n));
}

}  // namespace pw::test
