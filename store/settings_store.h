#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/registry_module.h"
#include "store/settings_layout.h"

namespace pw {

// What the setup window edits and stores of the settings: the browser title fragment and the
// switches. The first three are on only when their value is exactly "1"; watching every browser
// is on unless its value is exactly "0".
struct Preferences {
  std::string browser;  // empty when nothing is stored; each reader has its own default
  bool noPasswordPrompt = false;
  bool disableMenu = false;
  bool hideMenu = false;
  bool watchEveryBrowser = true;
};

// Everything the monitor runs by.
struct Settings {
  std::string unlockPassword;  // as stored, of any length
  std::string setupPassword;
  Preferences preferences;
  std::int16_t timeDelay = 0;  // seconds the prompt waits, 5 to 99, or 0 for no limit
};

// One entry of the word list, stored as its text, a comma and "1" for active or "0".
struct WordEntry {
  std::string text;
  bool active = false;
  bool operator==(const WordEntry&) const = default;
};

// The entry a stored value holds, or nothing when it holds none: the last character is the
// flag, and the one before it is dropped unseen, so the text may hold commas of its own.
std::optional<WordEntry> ParseWordEntry(std::string_view value);
std::string FormatWordEntry(const WordEntry& entry);

// Readers. A missing key or value reads as empty, or off; none of them writes.
// The settings key's seven values, the passwords first.
Settings ReadSettings(RegistryModule& registry);
// The five values the setup window edits, in the order it stores them.
Preferences ReadPreferences(RegistryModule& registry);
// One switch alone, by its value name.
bool ReadSwitch(RegistryModule& registry, const char* name);
// The entries of "Window0" to "Window999" in number order; every name is read, whatever gaps
// or other values lie between.
std::vector<WordEntry> ReadWordEntries(RegistryModule& registry);
// The marker the list store leaves, as stored text ("" when none).
std::string ReadFirstTime(RegistryModule& registry);

// The values the setup window stores under the settings key, as names and texts, in the order
// it stores them; and whether a name is one of them (letter case aside).
using SettingTexts = std::vector<std::pair<std::string, std::string>>;
SettingTexts PreferenceTexts(const Preferences& preferences);
bool IsPreferenceName(std::string_view name);

// Writers. Each writes all it can and returns false when the registry refused any of it.
bool WritePreferences(RegistryModule& registry, const Preferences& preferences);
bool WriteSettingTexts(RegistryModule& registry, const SettingTexts& texts);
// Marks the list as stored, writes the entries as "Window0" onwards and clears the names after
// them up to the last one a reader looks at.
bool WriteWordEntries(RegistryModule& registry, const std::vector<WordEntry>& entries);

}  // namespace pw
