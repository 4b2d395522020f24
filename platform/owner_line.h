#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pw {

// One connection to the owner's pipe.
class PipeConnection {
 public:
  virtual ~PipeConnection() = default;
  // The process that serves the pipe, as the system reports it: whoever created it first.
  virtual std::uint32_t ServerProcessId() = 0;
  // Sends one request and waits for its reply, at most a couple of seconds; nothing when the
  // server did not answer in time or the connection broke.
  virtual std::optional<std::vector<std::uint8_t>> Transact(
      const std::vector<std::uint8_t>& request) = 0;
};

// How the guard reaches the owner's authority, the service.
class OwnerLine {
 public:
  virtual ~OwnerLine() = default;
  // The process id the service control manager reports for the running service; 0 when the
  // service is not installed or not running.
  virtual std::uint32_t ServiceProcessId() = 0;
  // A connection to the pipe; nothing when no one serves it.
  virtual std::unique_ptr<PipeConnection> Connect() = 0;
  // Without the service the guard writes the event log itself: one event of the Application
  // log under the program's source, with these strings as its data.
  virtual void WriteEvent(std::uint16_t id, bool warning, std::span<const std::string> strings) = 0;
};

}  // namespace pw
