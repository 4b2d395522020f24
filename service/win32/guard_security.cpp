#include "service/win32/guard_security.h"

namespace pw::service {

namespace {

PSID MakeSid(SID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD first, DWORD second = 0) {
  PSID sid = nullptr;
  if (!AllocateAndInitializeSid(&authority, count, first, second, 0, 0, 0, 0, 0, 0, &sid)) {
    return nullptr;
  }
  return sid;
}

}  // namespace

GuardSecurity::GuardSecurity(PSID user) {
  system_.reset(MakeSid(SECURITY_NT_AUTHORITY, 1, SECURITY_LOCAL_SYSTEM_RID));
  admins_.reset(
      MakeSid(SECURITY_NT_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS));
  // S-1-3-4; built by hand, as older SDK headers and Wine lack its well-known name.
  ownerRights_.reset(MakeSid(SECURITY_CREATOR_SID_AUTHORITY, 1, 4));
  ok_ =
      user != nullptr && system_ && admins_ && ownerRights_ &&
      Build(process_, user, SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, PROCESS_ALL_ACCESS) &&
      Build(thread_, user, SYNCHRONIZE | THREAD_QUERY_LIMITED_INFORMATION, THREAD_ALL_ACCESS);
}

bool GuardSecurity::Build(Object& o, PSID user, DWORD userRights, DWORD fullRights) {
  const PSID sids[] = {system_.get(), admins_.get(), user, ownerRights_.get()};
  const DWORD rights[] = {fullRights, fullRights, userRights, READ_CONTROL};
  DWORD size = sizeof(ACL);
  for (PSID sid : sids) size += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sid);
  o.acl.assign(size, 0);
  auto* acl = reinterpret_cast<ACL*>(o.acl.data());
  if (!InitializeAcl(acl, size, ACL_REVISION)) return false;
  for (int i = 0; i < 4; ++i) {
    if (!AddAccessAllowedAce(acl, ACL_REVISION, rights[i], sids[i])) return false;
  }
  // Protected: nothing inherited from the token's default list comes in beside these entries.
  if (!InitializeSecurityDescriptor(&o.descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&o.descriptor, TRUE, acl, FALSE) ||
      !SetSecurityDescriptorControl(&o.descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
    return false;
  }
  o.attributes.nLength = sizeof o.attributes;
  o.attributes.lpSecurityDescriptor = &o.descriptor;
  o.attributes.bInheritHandle = FALSE;
  return true;
}

}  // namespace pw::service
