#include "platform/win32/backend/win32_pipe_io.h"

#include "platform/win32/unique.h"

namespace pw::win32 {

namespace {

// Waits for the overlapped call's end; on time-out cancels it and waits for the cancel, so the
// buffer and the event outlive the I/O.
bool Finish(HANDLE pipe, OVERLAPPED& overlapped, BOOL started, DWORD timeoutMs, DWORD& done,
            DWORD& error) {
  error = started ? ERROR_SUCCESS : GetLastError();
  if (!started && error != ERROR_IO_PENDING && error != ERROR_MORE_DATA) return false;
  if (WaitForSingleObject(overlapped.hEvent, timeoutMs) != WAIT_OBJECT_0) {
    CancelIoEx(pipe, &overlapped);
    GetOverlappedResult(pipe, &overlapped, &done, TRUE);
    error = ERROR_TIMEOUT;
    return false;
  }
  if (GetOverlappedResult(pipe, &overlapped, &done, FALSE)) {
    error = ERROR_SUCCESS;
    return true;
  }
  error = GetLastError();
  return error == ERROR_MORE_DATA;
}

// A manual-reset event for one overlapped call.
win32::UniqueHandle NewEvent() {
  return win32::UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

}  // namespace

bool WriteMessage(HANDLE pipe, const std::vector<std::uint8_t>& message, DWORD timeoutMs) {
  const win32::UniqueHandle event = NewEvent();
  if (event.get() == nullptr) return false;
  OVERLAPPED overlapped{};
  overlapped.hEvent = event.get();
  DWORD done = 0;
  DWORD error = 0;
  const BOOL started =
      WriteFile(pipe, message.data(), static_cast<DWORD>(message.size()), nullptr, &overlapped);
  return Finish(pipe, overlapped, started, timeoutMs, done, error) && error == ERROR_SUCCESS &&
         done == message.size();
}

std::optional<std::vector<std::uint8_t>> ReadMessage(HANDLE pipe, std::size_t most,
                                                     DWORD timeoutMs) {
  const win32::UniqueHandle event = NewEvent();
  if (event.get() == nullptr) return std::nullopt;
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  std::vector<std::uint8_t> message;
  constexpr std::size_t kChunk = 4096;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return std::nullopt;
    const std::size_t at = message.size();
    message.resize(at + kChunk);
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.get();
    ResetEvent(event.get());
    DWORD done = 0;
    DWORD error = 0;
    const BOOL started =
        ReadFile(pipe, message.data() + at, static_cast<DWORD>(kChunk), nullptr, &overlapped);
    if (!Finish(pipe, overlapped, started, static_cast<DWORD>(deadline - now), done, error)) {
      return std::nullopt;
    }
    message.resize(at + done);
    if (message.size() > most) return std::nullopt;
    // The rest of a long message comes with the next read.
    if (error != ERROR_MORE_DATA) return message;
  }
}

}  // namespace pw::win32
