#include "service/win32/owner_pipe.h"

#include <sddl.h>

#include <exception>
#include <string>

#include "owner/protocol.h"
#include "platform/win32/backend/win32_pipe_io.h"
#include "platform/win32/backend/win32_text.h"
#include "store/settings_layout.h"

namespace pw::service {

namespace {

// SYSTEM and Administrators full control; interactive users read, write data and attributes,
// but not FILE_CREATE_PIPE_INSTANCE (part of generic write), so no one serves a second instance.
constexpr const wchar_t* kPipeAccess = L"D:P(A;;GA;;;SY)(A;;GA;;;BA)(A;;0x12019b;;;IU)";
constexpr DWORD kStepTime = 2000;
constexpr DWORD kReplyBuffer = 64;

Millis Now() {
  return static_cast<Millis>(GetTickCount64());
}

// DOMAIN\name of the token's user, for the record.
std::string UserOf(HANDLE token) {
  BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  if (!GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) return {};
  wchar_t name[256];
  wchar_t domain[256];
  DWORD nameLength = 256;
  DWORD domainLength = 256;
  SID_NAME_USE use{};
  if (!LookupAccountSidW(nullptr, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, name,
                         &nameLength, domain, &domainLength, &use)) {
    return {};
  }
  return win32::Utf8(std::wstring(domain) + L"\\" + name);
}

// Who the client is: its session, its user and whether its token is an elevated administrator's
// (a filtered token holds Administrators for deny only, which the membership check does not
// count).
Caller CallerOf(HANDLE pipe) {
  Caller caller;
  ULONG session = 0;
  if (GetNamedPipeClientSessionId(pipe, &session)) caller.session = session;
  ULONG process = 0;
  if (GetNamedPipeClientProcessId(pipe, &process)) caller.process = process;
  if (!ImpersonateNamedPipeClient(pipe)) return caller;
  HANDLE opened = nullptr;
  if (OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &opened)) {
    const UniqueHandle token(opened);
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid;
    BOOL member = FALSE;
    if (CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) &&
        CheckTokenMembership(token.get(), sid, &member)) {
      caller.admin = member != FALSE;
    }
    caller.user = UserOf(token.get());
  }
  RevertToSelf();
  return caller;
}

}  // namespace

OwnerPipe::OwnerPipe(Authority& authority)
    : authority_(authority),
      connected_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      settingsChanged_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

OwnerPipe::~OwnerPipe() {
  if (pipe_) {
    CancelIoEx(pipe_.get(), &listening_);
    DWORD ignored = 0;
    GetOverlappedResult(pipe_.get(), &listening_, &ignored, TRUE);
  }
}

bool OwnerPipe::Open() {
  PSECURITY_DESCRIPTOR made = nullptr;
  if (!connected_ || !settingsChanged_ ||
      !ConvertStringSecurityDescriptorToSecurityDescriptorW(kPipeAccess, SDDL_REVISION_1, &made,
                                                            nullptr)) {
    return false;
  }
  const win32::UniqueLocal<void> access(made);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, access.get(), FALSE};
  // One instance: while the service holds it, nobody else can serve the name.
  pipe_.reset(CreateNamedPipeW(
      owner::kPipeNameW, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
      PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
      kReplyBuffer, static_cast<DWORD>(owner::kLongestMessage), 0, &attributes));
  if (pipe_.get() == INVALID_HANDLE_VALUE) pipe_.reset();
  TakeIn();
  WatchSettings();
  return pipe_ && Listen();
}

bool OwnerPipe::Listen() {
  listening_ = OVERLAPPED{};
  listening_.hEvent = connected_.get();
  ResetEvent(connected_.get());
  if (ConnectNamedPipe(pipe_.get(), &listening_)) return true;
  const DWORD error = GetLastError();
  // A client that came between the last disconnect and now: ready at once.
  if (error == ERROR_PIPE_CONNECTED) SetEvent(connected_.get());
  return error == ERROR_IO_PENDING || error == ERROR_PIPE_CONNECTED;
}

void OwnerPipe::ServeClient() {
  DWORD ignored = 0;
  if (GetOverlappedResult(pipe_.get(), &listening_, &ignored, FALSE) ||
      GetLastError() == ERROR_PIPE_CONNECTED) {
    const auto message = win32::ReadMessage(pipe_.get(), owner::kLongestMessage, kStepTime);
    // Only once the client has written can the server learn who it is.
    const Caller caller = CallerOf(pipe_.get());
    bool answered = false;
    const auto answer = [&](const std::vector<std::uint8_t>& reply) {
      answered = true;
      if (win32::WriteMessage(pipe_.get(), reply, kStepTime)) {
        // Disconnecting throws away what the client has not read: wait until it closes its end.
        win32::ReadMessage(pipe_.get(), 0, kStepTime);
      }
    };
    try {
      if (message) authority_.Serve(*message, caller, Now(), answer);
    } catch (const std::exception&) {
      // CNG failed: no verdict, and the service goes on.
      if (!answered) answer(owner::Encode(owner::Reply{owner::Answer::Failed, 0, false}));
    }
    // An oversized or unreadable message gets the error reply too, then the connection closes.
    if (!answered) answer(owner::Encode(owner::Reply{}));
  }
  DisconnectNamedPipe(pipe_.get());
  Listen();
}

bool OwnerPipe::WatchSettings() {
  if (!settings_) {
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, win32::Wide(kSettingsKey).c_str(), 0, nullptr, 0,
                        KEY_NOTIFY | KEY_QUERY_VALUE | KEY_WOW64_32KEY, nullptr, &created,
                        nullptr) != ERROR_SUCCESS) {
      return false;
    }
    settings_.reset(created);
  }
  return RegNotifyChangeKeyValue(settings_.get(), FALSE,
                                 REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                 settingsChanged_.get(), TRUE) == ERROR_SUCCESS;
}

void OwnerPipe::TakeInChanges() {
  // Watch again first: a change made while taking in is then not missed.
  WatchSettings();
  TakeIn();
}

void OwnerPipe::TakeIn() {
  try {
    authority_.TakeIn();
  } catch (const std::exception&) {
    // The plain text stays where it is until the next change or start.
  }
}

}  // namespace pw::service
