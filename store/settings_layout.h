#pragma once

#include <string>

namespace pw {

// Everything the program keeps between runs, under HKEY_LOCAL_MACHINE.
inline constexpr const char* kSettingsKey = "SOFTWARE\\Tarnwick\\Addon2\\Settings";
inline constexpr const char* kWindowsKey = "SOFTWARE\\Tarnwick\\Addon2\\Windows";
// Where the service keeps the password hashes: only SYSTEM and Administrators may open it. That
// it exists tells the guard that the service, not the guard, judges passwords.
inline constexpr const char* kVaultKey = "SOFTWARE\\Tarnwick\\Addon2\\Vault";
inline constexpr const char* kVaultUnlock = "Unlock";
inline constexpr const char* kVaultSetup = "Setup";

inline constexpr const char* kUserPassword = "UserPassword";
inline constexpr const char* kUserPassword2 = "UserPassword2";
inline constexpr const char* kWebBrowser = "webbrowser";
// The browser title fragment where none is stored.
inline constexpr const char* kDefaultBrowserTitle = "Internet Explorer";
inline constexpr const char* kPasswordPrompt = "passwordprompt";
inline constexpr const char* kDisableMenu = "disablemenu";
inline constexpr const char* kHideMenu = "HideMenu";
// On unless it holds exactly "0".
inline constexpr const char* kWatchAllBrowsers = "WatchAllBrowsers";
inline constexpr const char* kTimeDelay = "TimeDelay";
inline constexpr const char* kFirstTime = "FirstTime";

// Readers try "Window0" to "Window999" whatever they find on the way.
inline constexpr int kListValueCount = 1000;

inline std::string ListValueName(int n) {
  return "Window" + std::to_string(n);
}

}  // namespace pw
