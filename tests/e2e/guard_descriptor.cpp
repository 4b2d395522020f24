#include "tests/e2e/guard_descriptor.h"

#include <aclapi.h>
#include <sddl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <vector>

namespace pw::e2e {

namespace {

std::string SidText(PSID sid) {
  char* text = nullptr;
  if (!ConvertSidToStringSidA(sid, &text)) return "?";
  std::string out = text;
  LocalFree(text);
  return out;
}

std::string OwnUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> user(size);
  const bool ok = size != 0 && GetTokenInformation(token, TokenUser, user.data(), size, &size);
  CloseHandle(token);
  return ok ? SidText(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid) : std::string();
}

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(value));
  return text;
}

}  // namespace

std::string GuardDescriptorFaults(HANDLE object, DWORD user, DWORD full) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD error = GetSecurityInfo(object, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                      nullptr, &dacl, nullptr, &descriptor);
  if (error != ERROR_SUCCESS) return "GetSecurityInfo failed with error " + std::to_string(error);
  std::string faults;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  if ((control & SE_DACL_PROTECTED) == 0) faults += " the list is not protected;";
  struct Wanted {
    std::string sid;
    DWORD mask;
    bool seen;
  };
  std::vector<Wanted> wanted = {{"S-1-5-18", full, false},
                                {"S-1-5-32-544", full, false},
                                {OwnUserSid(), user, false},
                                {"S-1-3-4", READ_CONTROL, false}};
  const DWORD count = dacl != nullptr ? dacl->AceCount : 0;
  for (DWORD i = 0; i < count; ++i) {
    void* raw = nullptr;
    if (!GetAce(dacl, i, &raw)) continue;
    const auto* header = static_cast<ACE_HEADER*>(raw);
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) {
      faults += " entry " + std::to_string(i) + " is not an allowing entry;";
      continue;
    }
    const auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(raw);
    const std::string sid = SidText(const_cast<DWORD*>(&ace->SidStart));
    bool known = false;
    for (Wanted& w : wanted) {
      if (w.sid != sid) continue;
      known = w.seen = true;
      if (ace->Mask != w.mask) faults += " " + sid + " has " + Hex(ace->Mask) + ";";
      if ((header->AceFlags & INHERITED_ACE) != 0) faults += " " + sid + " is inherited;";
    }
    if (!known) faults += " an entry for " + sid + " (" + Hex(ace->Mask) + ");";
  }
  for (const Wanted& w : wanted) {
    if (!w.seen) faults += " no entry for " + w.sid + ";";
  }
  LocalFree(descriptor);
  return faults;
}

DWORD FirstThreadOf(DWORD pid) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  DWORD first = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more && first == 0;
       more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == pid) first = entry.th32ThreadID;
  }
  CloseHandle(snapshot);
  return first;
}

}  // namespace pw::e2e
