#pragma once

#include <windows.h>

#include <optional>

#include "service/recovery.h"
#include "service/win32/event_log.h"

namespace pw::service {

// A service's recovery as the service manager keeps it (its failure actions and their flag).
// Nothing when it cannot be read, or holds an action other than a restart. The handle needs
// SERVICE_QUERY_CONFIG.
std::optional<RecoveryPolicy> ReadRecovery(SC_HANDLE service);

// Returns NO_ERROR or the Windows error. The handle needs SERVICE_CHANGE_CONFIG, and
// SERVICE_START because the actions restart the service.
DWORD WriteRecovery(SC_HANDLE service, const RecoveryPolicy& policy);

// At the service's start: gives it the wanted recovery where it differs; a failure is logged.
void KeepRecovery(const char* serviceName, EventLog& log);

}  // namespace pw::service
