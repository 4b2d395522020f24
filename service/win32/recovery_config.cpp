#include "service/win32/recovery_config.h"

#include <cstdint>
#include <vector>

#include "platform/win32/unique.h"

namespace pw::service {

namespace {

using win32::UniqueService;

// Reads one level of QueryServiceConfig2 into memory aligned for its structure.
std::vector<std::uint64_t> QueryConfig(SC_HANDLE service, DWORD level) {
  DWORD needed = 0;
  QueryServiceConfig2A(service, level, nullptr, 0, &needed);
  if (needed == 0) return {};
  std::vector<std::uint64_t> buffer((needed + 7) / 8);
  if (!QueryServiceConfig2A(service, level, reinterpret_cast<BYTE*>(buffer.data()),
                            static_cast<DWORD>(buffer.size() * 8), &needed)) {
    return {};
  }
  return buffer;
}

}  // namespace

std::optional<RecoveryPolicy> ReadRecovery(SC_HANDLE service) {
  const auto actions = QueryConfig(service, SERVICE_CONFIG_FAILURE_ACTIONS);
  const auto flag = QueryConfig(service, SERVICE_CONFIG_FAILURE_ACTIONS_FLAG);
  if (actions.empty() || flag.empty()) return std::nullopt;
  const auto* read = reinterpret_cast<const SERVICE_FAILURE_ACTIONSA*>(actions.data());
  RecoveryPolicy policy;
  for (DWORD i = 0; i < read->cActions; ++i) {
    if (read->lpsaActions[i].Type != SC_ACTION_RESTART) return std::nullopt;
    policy.restartDelays.push_back(read->lpsaActions[i].Delay);
  }
  policy.resetAfter = Millis{read->dwResetPeriod} * 1000;
  policy.onErrorStop = reinterpret_cast<const SERVICE_FAILURE_ACTIONS_FLAG*>(flag.data())
                           ->fFailureActionsOnNonCrashFailures;
  return policy;
}

DWORD WriteRecovery(SC_HANDLE service, const RecoveryPolicy& policy) {
  std::vector<SC_ACTION> restarts;
  for (const Millis delay : policy.restartDelays) {
    restarts.push_back({SC_ACTION_RESTART, static_cast<DWORD>(delay)});
  }
  SERVICE_FAILURE_ACTIONSA actions{};
  actions.dwResetPeriod = static_cast<DWORD>(policy.resetAfter / 1000);
  actions.cActions = static_cast<DWORD>(restarts.size());
  actions.lpsaActions = restarts.data();
  SERVICE_FAILURE_ACTIONS_FLAG flag{policy.onErrorStop};
  if (!ChangeServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS, &actions) ||
      !ChangeServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS_FLAG, &flag)) {
    return GetLastError();
  }
  return NO_ERROR;
}

void KeepRecovery(const char* serviceName, EventLog& log) {
  DWORD error = NO_ERROR;
  const UniqueService manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
  const UniqueService service(
      manager.get() == nullptr
          ? nullptr
          : OpenServiceA(manager.get(), serviceName,
                         SERVICE_QUERY_CONFIG | SERVICE_CHANGE_CONFIG | SERVICE_START));
  if (service.get() == nullptr) {
    error = GetLastError();
  } else if (const auto change =
                 RecoveryChange(ReadRecovery(service.get()).value_or(RecoveryPolicy{}))) {
    error = WriteRecovery(service.get(), *change);
  }
  if (error != NO_ERROR) log.Write({Report::Kind::RecoveryNotSet, 0, error, 0});
}

}  // namespace pw::service
