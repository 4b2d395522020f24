#include "watchdog/win32/win32_guard_host.h"

#include <tlhelp32.h>
#include <userenv.h>
#include <wtsapi32.h>

#include <algorithm>

#include "watchdog/same_path.h"

namespace pw::watchdog {

namespace {

constexpr const char* kDesktop = "winsta0\\default";

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ImagePath(HANDLE process) {
  char path[MAX_PATH * 4];
  DWORD size = sizeof path;
  if (!QueryFullProcessImageNameA(process, 0, path, &size)) return {};
  return std::string(path, size);
}

bool HasUser(DWORD session) {
  char* name = nullptr;
  DWORD bytes = 0;
  if (!WTSQuerySessionInformationA(WTS_CURRENT_SERVER_HANDLE, session, WTSUserName, &name,
                                   &bytes)) {
    return false;
  }
  const bool user = name != nullptr && name[0] != '\0';
  WTSFreeMemory(name);
  return user;
}

DWORD OwnSession() {
  DWORD session = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &session);
  return session;
}

}  // namespace

Win32GuardHost::Win32GuardHost(Mode mode, std::string guardPath, EventLog& log)
    : mode_(mode), guardPath_(std::move(guardPath)), log_(log) {
  folder_ = guardPath_.substr(0, guardPath_.find_last_of('\\'));
}

std::vector<SessionId> Win32GuardHost::LoggedOnSessions() {
  if (mode_ == Mode::Console) return {OwnSession()};
  std::vector<SessionId> sessions;
  WTS_SESSION_INFOA* info = nullptr;
  DWORD count = 0;
  if (WTSEnumerateSessionsA(WTS_CURRENT_SERVER_HANDLE, 0, 1, &info, &count)) {
    for (DWORD i = 0; i < count; ++i) {
      if (HasUser(info[i].SessionId)) sessions.push_back(info[i].SessionId);
    }
    WTSFreeMemory(info);
  }
  // The session at the physical console as well, should the enumeration fail or leave it out
  // (early at boot, and under Wine, which enumerates none).
  const DWORD console = WTSGetActiveConsoleSessionId();
  if (console != 0xFFFFFFFF && std::ranges::find(sessions, console) == sessions.end() &&
      HasUser(console)) {
    sessions.push_back(console);
  }
  return sessions;
}

bool Win32GuardHost::AdoptGuard(SessionId session) {
  HANDLE table = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (table == INVALID_HANDLE_VALUE) return false;
  UniqueHandle snapshot(table);
  const std::string name = FileName(guardPath_);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry)) {
    DWORD inSession = 0;
    if (!SamePath(entry.szExeFile, name) ||
        !ProcessIdToSessionId(entry.th32ProcessID, &inSession) || inSession != session) {
      continue;
    }
    UniqueHandle process(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    // A copy from another folder is not the guard, nor one that is already ending.
    if (!process || !SamePath(ImagePath(process.get()), guardPath_) ||
        WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) {
      continue;
    }
    guards_[session] = std::move(process);
    return true;
  }
  return false;
}

bool Win32GuardHost::StartGuard(SessionId session) {
  PROCESS_INFORMATION started{};
  const bool ok = mode_ == Mode::Service ? StartAsUser(session, started) : StartAsSelf(started);
  if (!ok) return false;
  Watch(session, started);
  return true;
}

bool Win32GuardHost::StartAsUser(SessionId session, PROCESS_INFORMATION& started) {
  HANDLE token = nullptr;
  // Only LocalSystem may ask; it fails for a session without a user.
  if (!WTSQueryUserToken(session, &token)) return false;
  UniqueHandle user(token);
  void* environment = nullptr;
  if (!CreateEnvironmentBlock(&environment, user.get(), FALSE)) environment = nullptr;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string desktop = kDesktop;
  startup.lpDesktop = desktop.data();
  std::string commandLine = "\"" + guardPath_ + "\"";
  const DWORD flags = environment != nullptr ? CREATE_UNICODE_ENVIRONMENT : 0;
  const BOOL ok =
      CreateProcessAsUserA(user.get(), guardPath_.c_str(), commandLine.data(), nullptr, nullptr,
                           FALSE, flags, environment, folder_.c_str(), &startup, &started);
  if (environment != nullptr) DestroyEnvironmentBlock(environment);
  return ok != FALSE;
}

bool Win32GuardHost::StartAsSelf(PROCESS_INFORMATION& started) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + guardPath_ + "\"";
  return CreateProcessA(guardPath_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.c_str(), &startup, &started) != FALSE;
}

void Win32GuardHost::Watch(SessionId session, const PROCESS_INFORMATION& started) {
  CloseHandle(started.hThread);
  guards_[session] = UniqueHandle(started.hProcess);
}

std::vector<Win32GuardHost::Watched> Win32GuardHost::Guards() const {
  std::vector<Watched> watched;
  for (const auto& [session, process] : guards_) watched.push_back({session, process.get()});
  return watched;
}

std::uint32_t Win32GuardHost::TakeEnded(SessionId session) {
  auto it = guards_.find(session);
  if (it == guards_.end()) return 0;
  DWORD code = 0;
  GetExitCodeProcess(it->second.get(), &code);
  guards_.erase(it);
  return code;
}

}  // namespace pw::watchdog
