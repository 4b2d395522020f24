#include "store/settings_store.h"

#include "base/text.h"
#include "store/time_delay.h"

namespace pw {

namespace {

std::string ReadText(RegistryModule& registry, const char* key, const std::string& name) {
  return ValueToText(registry.GetRegValue(HKEY_LOCAL_MACHINE_, key, name));
}

bool WriteText(RegistryModule& registry, const char* key, const std::string& name,
               std::string text) {
  return registry.SaveRegValue(HKEY_LOCAL_MACHINE_, key, name, RegistryValue(std::move(text)));
}

std::string SwitchText(bool on) {
  return on ? "1" : "0";
}

}  // namespace

std::optional<WordEntry> ParseWordEntry(std::string_view value) {
  if (value.size() < 2) return std::nullopt;
  const char flag = value.back();
  if (flag != '1' && flag != '0') return std::nullopt;
  return WordEntry{std::string(value.substr(0, value.size() - 2)), flag == '1'};
}

std::string FormatWordEntry(const WordEntry& entry) {
  return entry.text + (entry.active ? ",1" : ",0");
}

Settings ReadSettings(RegistryModule& registry) {
  Settings settings;
  settings.unlockPassword = ReadText(registry, kSettingsKey, kUserPassword);
  settings.setupPassword = ReadText(registry, kSettingsKey, kUserPassword2);
  settings.preferences = ReadPreferences(registry);
  settings.timeDelay = ParseTimeDelay(ReadText(registry, kSettingsKey, kTimeDelay));
  return settings;
}

Preferences ReadPreferences(RegistryModule& registry) {
  Preferences preferences;
  preferences.browser = ReadText(registry, kSettingsKey, kWebBrowser);
  preferences.noPasswordPrompt = ReadSwitch(registry, kPasswordPrompt);
  preferences.disableMenu = ReadSwitch(registry, kDisableMenu);
  preferences.hideMenu = ReadSwitch(registry, kHideMenu);
  preferences.watchEveryBrowser = ReadText(registry, kSettingsKey, kWatchAllBrowsers) != "0";
  return preferences;
}

bool ReadSwitch(RegistryModule& registry, const char* name) {
  return ReadText(registry, kSettingsKey, name) == "1";
}

std::vector<WordEntry> ReadWordEntries(RegistryModule& registry) {
  std::vector<WordEntry> entries;
  for (int n = 0; n < kListValueCount; ++n) {
    if (auto entry = ParseWordEntry(ReadText(registry, kWindowsKey, ListValueName(n)))) {
      entries.push_back(std::move(*entry));
    }
  }
  return entries;
}

std::string ReadFirstTime(RegistryModule& registry) {
  return ReadText(registry, kSettingsKey, kFirstTime);
}

SettingTexts PreferenceTexts(const Preferences& preferences) {
  return {{kWebBrowser, preferences.browser},
          {kPasswordPrompt, SwitchText(preferences.noPasswordPrompt)},
          {kDisableMenu, SwitchText(preferences.disableMenu)},
          {kHideMenu, SwitchText(preferences.hideMenu)},
          {kWatchAllBrowsers, SwitchText(preferences.watchEveryBrowser)}};
}

bool IsPreferenceName(std::string_view name) {
  for (const auto& [known, text] : PreferenceTexts({})) {
    if (EqualsIgnoreCaseAscii(known, name)) return true;
  }
  return false;
}

bool WritePreferences(RegistryModule& registry, const Preferences& preferences) {
  return WriteSettingTexts(registry, PreferenceTexts(preferences));
}

bool WriteSettingTexts(RegistryModule& registry, const SettingTexts& texts) {
  bool stored = true;
  for (const auto& [name, text] : texts) {
    stored = WriteText(registry, kSettingsKey, name, text) && stored;
  }
  return stored;
}

bool WriteWordEntries(RegistryModule& registry, const std::vector<WordEntry>& entries) {
  bool stored = WriteText(registry, kSettingsKey, kFirstTime, "1");
  const int count = static_cast<int>(entries.size());
  for (int i = 0; i < count; ++i) {
    stored = WriteText(registry, kWindowsKey, ListValueName(i),
                       FormatWordEntry(entries[static_cast<std::size_t>(i)])) &&
             stored;
  }
  // Values left over from a longer list would come back at the next load. Only the names a
  // reader looks at are cleared; anything numbered higher is never read and stays as it is.
  for (int i = count; i < kListValueCount; ++i) {
    stored = registry.DeleteRegValue(HKEY_LOCAL_MACHINE_, kWindowsKey, ListValueName(i)) && stored;
  }
  return stored;
}

}  // namespace pw
