// The service opening a record file of any content, and the History window reading a page of
// any content: nothing crashes; what the service keeps is exactly the whole entries at the
// front of the file, the file is then well formed, and a new entry lands after them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "history/csv.h"
#include "history/journal.h"
#include "history/record_file.h"
#include "owner/protocol.h"
#include "tests/support/memory_record.h"

namespace pw::fuzz {

void CheckOneInput(FuzzedDataProvider& in) {
  const bool asPage = in.ConsumeBool();
  const std::vector<std::uint8_t> bytes = in.ConsumeRemainingBytes<std::uint8_t>();
  if (asPage) {
    const auto page = owner::DecodeHistoryPage(bytes);
    if (page) {
      Require(page->skipped + page->entries.size() <= page->total, "a page within its record");
      Require(owner::Encode(*page) == bytes, "a page reads back as it was written");
      history::Csv(page->entries);
    }
    return;
  }
  test::MemoryRecordStorage file;
  file.exists = true;
  file.bytes = bytes;
  history::Journal journal(file, 50, 10);
  journal.Open();
  const history::Parsed before = history::Parse(bytes);
  if (before.ours) {
    Require(file.setAside.empty(), "a file of ours is not set aside");
    Require(journal.Entries().size() == std::min<std::size_t>(before.entries.size(), 50),
            "every whole entry is kept");
  } else {
    Require(file.setAside.size() == 1 && file.setAside[0] == bytes, "a foreign file is kept aside");
  }
  const history::Parsed opened = history::Parse(file.bytes);
  Require(opened.ours && opened.goodLength == file.bytes.size(), "the file is whole after opening");
  history::Entry entry = history::EntryOf(history::Kind::Stop);
  entry.outcome = history::Outcome::Allowed;
  entry.title = "after";
  journal.Add(entry);
  const history::Parsed after = history::Parse(file.bytes);
  Require(!after.entries.empty() && after.entries.back() == entry, "a new entry follows");
  history::Csv(journal.Entries());
}

}  // namespace pw::fuzz
