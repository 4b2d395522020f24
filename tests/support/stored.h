#pragma once

#include <string>

#include "platform/sim/sim_registry.h"

namespace pw::test {

// Where the program keeps its settings and its word list under HKEY_LOCAL_MACHINE. Spelled here
// rather than taken from the program, so that a path changed by mistake fails the tests.
inline constexpr const char* kSettingsPath = "SOFTWARE\\Tarnwick\\Addon2\\Settings";
inline constexpr const char* kWindowsPath = "SOFTWARE\\Tarnwick\\Addon2\\Windows";

// The list value of the nth entry: "Window0", "Window1", ...
std::string WordName(int n);

// Stores a setting, or the nth list entry as its raw "text,flag", as a string value, as an
// installer or another program would.
void StoreSetting(sim::SimRegistry& registry, const std::string& name, const std::string& value);
void StoreWord(sim::SimRegistry& registry, int n, const std::string& entry);

// What is stored now ("" when nothing is).
std::string StoredSetting(const sim::SimRegistry& registry, const std::string& name);
std::string StoredWord(const sim::SimRegistry& registry, int n);
bool HasStoredSetting(const sim::SimRegistry& registry, const std::string& name);
bool HasStoredWord(const sim::SimRegistry& registry, int n);

}  // namespace pw::test
