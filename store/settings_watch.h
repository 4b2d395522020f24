#pragma once

#include <array>
#include <functional>

#include "platform/registry_api.h"

namespace pw {

// Watches both settings keys for changes made by anyone: an administrator's reg add, a Group
// Policy refresh, the setup window of another session, or this program itself. The first change
// after a (re)start calls onChange; the owner then reloads and restarts the watch, so a burst of
// writes costs one reload. The keys stay open while watched, so they are not closed after every
// operation as the settings store does.
class SettingsWatch {
 public:
  SettingsWatch(RegistryApi& api, std::function<void()> onChange);
  ~SettingsWatch();
  SettingsWatch(const SettingsWatch&) = delete;
  SettingsWatch& operator=(const SettingsWatch&) = delete;

  // Forgets every change noticed so far and watches from now on. Call it right before reading
  // the settings, so that nothing changed in between goes unseen.
  void Restart();
  void Stop();
  // A key that did not exist at the last restart cannot be watched yet; this looks for it again.
  // True when one has appeared, which is a change of its own.
  bool KeyAppeared();

 private:
  struct Key {
    const char* path;
    RegKey handle = 0;
    bool missing = false;  // not there at the last attempt; looked for again
  };
  void Open(Key& key);
  void Close(Key& key);

  RegistryApi& api_;
  std::function<void()> onChange_;
  std::array<Key, 2> keys_;
  bool active_ = false;
};

}  // namespace pw
