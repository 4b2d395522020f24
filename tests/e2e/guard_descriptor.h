#pragma once

#include <windows.h>

#include <string>

namespace pw::e2e {

// Reads back the access list of a guard's process or thread and says, entry by entry, where it
// differs from: SYSTEM and Administrators `full`, the user who runs the driver `user`, OWNER
// RIGHTS only READ_CONTROL, nothing else and nothing inherited. Empty when it matches.
std::string GuardDescriptorFaults(HANDLE object, DWORD user, DWORD full);

// The first thread of the process (the one its creator started), or 0.
DWORD FirstThreadOf(DWORD pid);

}  // namespace pw::e2e
