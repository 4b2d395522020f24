#pragma once

#include <windows.h>

#include <string>

#include "history/journal.h"
#include "platform/win32/unique.h"

namespace pw::service {

using win32::UniqueHandle;

// The record file, %ProgramData%\Pagewarden\history.dat, in a folder whose access list lets
// SYSTEM and Administrators in and no one else (nothing inherited): a guarded user can neither
// read nor change what was recorded.
class RecordStorage : public history::RecordStorage {
 public:
  RecordStorage();

  std::optional<std::vector<std::uint8_t>> ReadAll() override;
  bool Append(std::span<const std::uint8_t> bytes) override;
  bool Truncate(std::size_t length) override;
  bool Replace(std::span<const std::uint8_t> bytes) override;
  std::string SetAside() override;

 private:
  bool PrepareFolder();
  bool OpenForAppend();

  std::wstring folder_;
  std::wstring path_;
  UniqueHandle file_;  // open for appending between entries
};

}  // namespace pw::service
