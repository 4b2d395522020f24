#include "service/win32/win32_guard_host.h"

#include <tlhelp32.h>
#include <userenv.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <string_view>

#include "base/session_guard.h"
#include "service/same_path.h"
#include "service/win32/guard_security.h"

namespace pw::service {

namespace {

constexpr const wchar_t* kDesktop = L"winsta0\\default";

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

std::wstring Wide(const std::string& text) {
  const int length =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

// The token's TOKEN_USER, empty when it cannot be read.
std::vector<unsigned char> UserOf(HANDLE token) {
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> user(size);
  if (size == 0 || !GetTokenInformation(token, TokenUser, user.data(), size, &size)) return {};
  return user;
}

// The user's own environment (the service's when no token), with the answer event's handle.
std::wstring Environment(HANDLE token, const std::wstring& answers) {
  void* block = nullptr;
  if (token == nullptr) {
    block = GetEnvironmentStringsW();
  } else if (!CreateEnvironmentBlock(&block, token, FALSE)) {
    block = nullptr;
  }
  const std::wstring name = Wide(kAnswerEventVariable);
  std::wstring environment;
  for (auto* entry = static_cast<const wchar_t*>(block); entry != nullptr && *entry != L'\0';
       entry += std::wcslen(entry) + 1) {
    const std::wstring_view text(entry);
    const bool same = text.size() > name.size() && text[name.size()] == L'=' &&
                      _wcsnicmp(entry, name.c_str(), name.size()) == 0;
    if (!same) environment.append(text).push_back(L'\0');
  }
  if (token == nullptr && block != nullptr) FreeEnvironmentStringsW(static_cast<wchar_t*>(block));
  if (token != nullptr && block != nullptr) DestroyEnvironmentBlock(block);
  environment.append(name + L"=" + answers).push_back(L'\0');
  return environment;  // the string's own terminator ends the block
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
    guards_[session] = Guard{std::move(process), {}};
    return true;
  }
  return false;
}

bool Win32GuardHost::StartGuard(SessionId session) {
  HANDLE token = nullptr;
  // Only LocalSystem may ask; it fails for a session without a user.
  if (mode_ == Mode::Service && !WTSQueryUserToken(session, &token)) return false;
  UniqueHandle user(token);
  // Auto-reset: each wake of the service stands for a fresh answer.
  UniqueHandle answers(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  PROCESS_INFORMATION started{};
  if (!answers || !Launch(user.get(), answers.get(), started)) return false;
  const UniqueHandle thread(started.hThread);
  guards_[session] = Guard{UniqueHandle(started.hProcess), std::move(answers)};
  return true;
}

void Win32GuardHost::EndGuard(SessionId session) {
  auto it = guards_.find(session);
  if (it == guards_.end()) return;
  TerminateProcess(it->second.process.get(), ERROR_TIMEOUT);
  guards_.erase(it);
}

bool Win32GuardHost::Launch(HANDLE token, HANDLE answers, PROCESS_INFORMATION& started) {
  UniqueHandle self;
  if (token == nullptr) {
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own)) return false;
    self.reset(own);
  }
  const std::vector<unsigned char> user = UserOf(token != nullptr ? token : self.get());
  if (user.empty()) return false;
  GuardSecurity security(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid);
  // A guard its user could end is what this service exists to prevent: none rather than that.
  if (!security.ok()) return false;

  // The guard may only set the event: a handle of its own with just that right, inheritable.
  HANDLE forGuard = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), answers, GetCurrentProcess(), &forGuard,
                       EVENT_MODIFY_STATE, TRUE, 0)) {
    return false;
  }
  UniqueHandle inherited(forGuard);
  // pgwatch.exe takes no arguments, so the handle's value goes into the environment block the
  // guard gets; a STARTUPINFO field would be read by the C runtime as standard handles.
  const std::wstring environment =
      Environment(token, std::to_wstring(reinterpret_cast<std::uintptr_t>(forGuard)));
  // The attribute list keeps every other inheritable handle of the service from the guard.
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<unsigned char> list(size);
  auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list.data());
  if (!InitializeProcThreadAttributeList(attributes, 1, 0, &size)) return false;
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.lpAttributeList = attributes;
  std::wstring desktop = kDesktop;
  if (token != nullptr) startup.StartupInfo.lpDesktop = desktop.data();
  const std::wstring program = Wide(guardPath_);
  const std::wstring folder = Wide(folder_);
  std::wstring commandLine = L"\"" + program + L"\"";
  const DWORD flags = CREATE_UNICODE_ENVIRONMENT | EXTENDED_STARTUPINFO_PRESENT;
  auto* env = const_cast<wchar_t*>(environment.c_str());
  BOOL ok = UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &forGuard,
                                      sizeof forGuard, nullptr, nullptr);
  if (ok && token != nullptr) {
    ok = CreateProcessAsUserW(token, program.c_str(), commandLine.data(), security.Process(),
                              security.Thread(), TRUE, flags, env, folder.c_str(),
                              &startup.StartupInfo, &started);
  } else if (ok) {
    ok = CreateProcessW(program.c_str(), commandLine.data(), security.Process(), security.Thread(),
                        TRUE, flags, env, folder.c_str(), &startup.StartupInfo, &started);
  }
  DeleteProcThreadAttributeList(attributes);
  return ok != FALSE;
}

std::vector<Win32GuardHost::Watched> Win32GuardHost::Guards() const {
  std::vector<Watched> watched;
  for (const auto& [session, guard] : guards_) {
    watched.push_back({session, guard.process.get(), guard.answers.get()});
  }
  return watched;
}

std::uint32_t Win32GuardHost::TakeEnded(SessionId session) {
  auto it = guards_.find(session);
  if (it == guards_.end()) return 0;
  DWORD code = 0;
  GetExitCodeProcess(it->second.process.get(), &code);
  guards_.erase(it);
  return code;
}

}  // namespace pw::service
