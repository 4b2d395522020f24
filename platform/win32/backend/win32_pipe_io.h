#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace pw::win32 {

// Overlapped I/O on a pipe opened with FILE_FLAG_OVERLAPPED, each call bounded in time so that
// a peer that never reads or never writes cannot hold the caller. A call that runs out of time
// cancels its I/O and reports failure.

// Writes one message whole.
bool WriteMessage(HANDLE pipe, const std::vector<std::uint8_t>& message, DWORD timeoutMs);
// Reads one message of at most `most` bytes. Nothing on failure, time-out or a larger message
// (whose rest is left unread: the caller closes the connection).
std::optional<std::vector<std::uint8_t>> ReadMessage(HANDLE pipe, std::size_t most,
                                                     DWORD timeoutMs);

}  // namespace pw::win32
