#include "platform/win32/backend/win32_owner_line.h"

#include <windows.h>

#include <string>
#include <utility>

#include "base/names.h"
#include "owner/protocol.h"
#include "platform/win32/backend/win32_failures.h"
#include "platform/win32/backend/win32_pipe_io.h"
#include "platform/win32/backend/win32_text.h"
#include "platform/win32/unique.h"

namespace pw::win32 {

namespace {

using win32::UniqueService;

// The service answers within 100 ms of work; this leaves room for a busy machine.
constexpr DWORD kAnswerTime = 2000;

// The keyboard hook that holds the switching keys is served on this thread, which waits here for
// the service; Windows drops a hook that keeps the keyboard waiting past its time-out and says
// nothing. So the hold is let go for the wait and taken again after.
class HoldLetGo {
 public:
  explicit HoldLetGo(Win32Input& input) : input_(input), held_(input.SwitchKeysHeld()) {
    input_.HoldSwitchKeys(false);
  }
  ~HoldLetGo() { input_.HoldSwitchKeys(held_); }
  HoldLetGo(const HoldLetGo&) = delete;
  HoldLetGo& operator=(const HoldLetGo&) = delete;

 private:
  Win32Input& input_;
  bool held_;
};

class Win32PipeConnection : public PipeConnection {
 public:
  Win32PipeConnection(win32::UniqueFile pipe, Win32Input& input)
      : pipe_(std::move(pipe)), input_(input) {}
  Win32PipeConnection(const Win32PipeConnection&) = delete;
  Win32PipeConnection& operator=(const Win32PipeConnection&) = delete;

  std::uint32_t ServerProcessId() override {
    ULONG pid = 0;
    return GetNamedPipeServerProcessId(pipe_.get(), &pid) ? pid : 0;
  }

  std::optional<std::vector<std::uint8_t>> Transact(
      const std::vector<std::uint8_t>& request) override {
    const HoldLetGo letGo(input_);
    if (!win32::WriteMessage(pipe_.get(), request, kAnswerTime)) return std::nullopt;
    return win32::ReadMessage(pipe_.get(), owner::kLongestReply, kAnswerTime);
  }

 private:
  win32::UniqueFile pipe_;
  Win32Input& input_;
};

}  // namespace

std::uint32_t Win32OwnerLine::ServiceProcessId() {
  const UniqueService manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (manager.get() == nullptr) return 0;
  const UniqueService service(OpenServiceW(manager.get(), kServiceNameW, SERVICE_QUERY_STATUS));
  if (service.get() == nullptr) return 0;
  SERVICE_STATUS_PROCESS status{};
  DWORD needed = 0;
  if (!QueryServiceStatusEx(service.get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                            sizeof status, &needed)) {
    return 0;
  }
  return status.dwCurrentState == SERVICE_RUNNING ? status.dwProcessId : 0;
}

std::unique_ptr<PipeConnection> Win32OwnerLine::Connect() {
  const std::wstring name = owner::kPipeNameW;
  const HoldLetGo letGo(input_);  // a busy pipe is waited for
  // Identification only: the server may learn who we are, but never act as us.
  const DWORD flags = FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION;
  HANDLE pipe = INVALID_HANDLE_VALUE;
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 4 && pipe == INVALID_HANDLE_VALUE; ++attempt) {
    pipe = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, flags,
                       nullptr);
    if (pipe != INVALID_HANDLE_VALUE) break;
    // The service serves one client at a time; another one's request takes a moment, and so
    // does letting that client go (a report right after a password check meets it). Wine's
    // pipe may even look absent for that moment, where its wait returns at once: a short
    // pause, a few times at most, then the service counts as unreachable.
    error = GetLastError();
    if (error != ERROR_PIPE_BUSY && error != ERROR_FILE_NOT_FOUND) break;
    if (!WaitNamedPipeW(name.c_str(), kAnswerTime)) Sleep(50);
  }
  if (pipe == INVALID_HANDLE_VALUE) {
    // No service (the pipe is absent) or a busy one is an answer; anything else is a fault.
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PIPE_BUSY) {
      win32::WriteFailure("Reaching the Pagewarden service", error);
    }
    return nullptr;
  }
  win32::UniqueFile owned(pipe);
  DWORD mode = PIPE_READMODE_MESSAGE;
  if (!SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr)) {
    win32::WriteFailure("Talking to the Pagewarden service", GetLastError());
    return nullptr;
  }
  return std::make_unique<Win32PipeConnection>(std::move(owned), input_);
}

void Win32OwnerLine::WriteEvent(std::uint16_t id, bool warning,
                                std::span<const std::string> strings) {
  const win32::UniqueEventSource source(RegisterEventSourceW(nullptr, kProductNameW));
  if (!source) return;
  std::vector<std::wstring> wide;
  for (const std::string& text : strings) wide.push_back(win32::Wide(text));
  std::vector<const wchar_t*> pointers;
  for (const std::wstring& text : wide) pointers.push_back(text.c_str());
  ReportEventW(source.get(), warning ? EVENTLOG_WARNING_TYPE : EVENTLOG_INFORMATION_TYPE, 0, id,
               nullptr, static_cast<WORD>(pointers.size()), 0, pointers.data(), nullptr);
}

}  // namespace pw::win32
