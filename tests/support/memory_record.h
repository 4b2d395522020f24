#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/journal.h"
#include "service/service_record.h"

namespace pw::test {

// A record file in memory, and what was set aside; `failWrites` makes every write fail.
class MemoryRecordStorage : public history::RecordStorage {
 public:
  std::optional<std::vector<std::uint8_t>> ReadAll() override {
    if (!exists) return std::nullopt;
    return bytes;
  }
  bool Append(std::span<const std::uint8_t> more) override {
    if (failWrites || !exists) return false;
    bytes.insert(bytes.end(), more.begin(), more.end());
    return true;
  }
  bool Truncate(std::size_t length) override {
    if (failWrites || length > bytes.size()) return false;
    bytes.resize(length);
    return true;
  }
  bool Replace(std::span<const std::uint8_t> image) override {
    if (failWrites) return false;
    bytes.assign(image.begin(), image.end());
    exists = true;
    ++replaced;
    return true;
  }
  std::string SetAside() override {
    setAside.push_back(bytes);
    bytes.clear();
    exists = false;
    return "history.aside-" + std::to_string(setAside.size());
  }

  bool exists = false;
  bool failWrites = false;
  int replaced = 0;
  std::vector<std::uint8_t> bytes;
  std::vector<std::vector<std::uint8_t>> setAside;
};

// The event log as a list.
class MemoryEvents : public service::EventWriter {
 public:
  void Write(const history::Entry& entry) override { written.push_back(entry); }
  std::vector<history::Entry> written;
};

}  // namespace pw::test
