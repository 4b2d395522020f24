#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/registry_api.h"
#include "platform/win32/backend/win32_wait_list.h"
#include "platform/win32/unique.h"

namespace pw::win32 {

// advapi32's wide registry calls with UTF-8 names and text, always in the 32-bit view, so that
// the 32-bit and the 64-bit builds (and earlier 32-bit installs) share their settings. Every key
// handle belongs to the caller, who closes it; change notices arrive through the given message
// wait's list.
class Win32Registry : public RegistryApi {
 public:
  explicit Win32Registry(Win32WaitList* waits = nullptr) : waits_(waits) {}
  ~Win32Registry() override;
  Win32Registry(const Win32Registry&) = delete;
  Win32Registry& operator=(const Win32Registry&) = delete;

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

 private:
  void DropNotice(RegKey key);
  // A store that is refused fails at every value; the first refusal of a burst is written.
  long Refused(const std::string& what, long status);

  Win32WaitList* waits_;
  std::uint64_t lastRefusalAt_ = 0;
  std::map<RegKey, win32::UniqueHandle> events_;  // one event a watched key, closed with the key
};

}  // namespace pw::win32
