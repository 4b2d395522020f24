#include "store/settings_watch.h"

#include <utility>

#include "store/settings_layout.h"

namespace pw {

SettingsWatch::SettingsWatch(RegistryApi& api, std::function<void()> onChange)
    : api_(api), onChange_(std::move(onChange)), keys_{Key{kSettingsKey}, Key{kWindowsKey}} {}

SettingsWatch::~SettingsWatch() {
  Stop();
}

void SettingsWatch::Restart() {
  Stop();
  active_ = true;
  for (Key& key : keys_) Open(key);
}

void SettingsWatch::Stop() {
  active_ = false;
  for (Key& key : keys_) Close(key);
}

bool SettingsWatch::KeyAppeared() {
  if (!active_) return false;
  bool appeared = false;
  for (Key& key : keys_) {
    if (!key.missing) continue;
    Open(key);
    if (!key.missing) appeared = true;
  }
  return appeared;
}

void SettingsWatch::Open(Key& key) {
  RegKey handle = 0;
  const long opened = api_.RegOpenKeyExA(HKEY_LOCAL_MACHINE_, key.path, 0, KEY_NOTIFY_, handle);
  // Any other failure (access refused) would fail again; only a key yet to come is looked for.
  key.missing = opened == ERROR_FILE_NOT_FOUND_;
  if (opened != ERROR_SUCCESS_) return;
  const long status = api_.RegNotifyChangeKeyValue(handle, [this] { onChange_(); });
  if (status != ERROR_SUCCESS_) {
    // Without notices the key would be held open for nothing.
    api_.RegCloseKey(handle);
    return;
  }
  key.handle = handle;
}

void SettingsWatch::Close(Key& key) {
  if (key.handle != 0) api_.RegCloseKey(key.handle);
  key.handle = 0;
  key.missing = false;
}

}  // namespace pw
