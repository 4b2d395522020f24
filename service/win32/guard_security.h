#pragma once

#include <windows.h>

#include <memory>
#include <vector>

namespace pw::service {

// The access lists the service gives a guard's process and its first thread. The user the
// guard runs as may only wait on them and ask the least about them: no ending, suspending,
// reading or writing memory, injecting a thread. An OWNER RIGHTS entry takes away the rights the
// owner (that same user) would otherwise have to read and rewrite the list; SYSTEM and
// Administrators keep full access.
class GuardSecurity {
 public:
  // For the user whose SID is given; `ok()` tells whether the lists could be built.
  explicit GuardSecurity(PSID user);
  GuardSecurity(const GuardSecurity&) = delete;
  GuardSecurity& operator=(const GuardSecurity&) = delete;

  bool ok() const { return ok_; }
  SECURITY_ATTRIBUTES* Process() { return &process_.attributes; }
  SECURITY_ATTRIBUTES* Thread() { return &thread_.attributes; }

 private:
  struct Object {
    std::vector<unsigned char> acl;
    SECURITY_DESCRIPTOR descriptor{};
    SECURITY_ATTRIBUTES attributes{};
  };
  bool Build(Object& object, PSID user, DWORD userRights, DWORD fullRights);

  std::unique_ptr<void, decltype(&FreeSid)> system_{nullptr, &FreeSid};
  std::unique_ptr<void, decltype(&FreeSid)> admins_{nullptr, &FreeSid};
  std::unique_ptr<void, decltype(&FreeSid)> ownerRights_{nullptr, &FreeSid};
  Object process_;
  Object thread_;
  bool ok_ = false;
};

}  // namespace pw::service
