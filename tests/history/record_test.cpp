#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/csv.h"
#include "history/journal.h"
#include "history/record_file.h"
#include "owner/protocol.h"
#include "tests/support/memory_record.h"

namespace pw::history {
namespace {

// Titles a page may have: Cyrillic, 254 characters, quotes, commas, line breaks, controls.
std::vector<Entry> EveryKind() {
  std::vector<Entry> entries;
  for (std::uint8_t k = 1; k <= kLastKind; ++k) {
    Entry e = EntryOf(static_cast<Kind>(k));
    e.time = 1796688000 + k;
    e.session = k;
    e.user = "ПК\\Дима";
    e.program = "firefox.exe";
    e.word = "казино";
    e.detail = k % 2 == 0 ? "words added: \"poker\"" : "";
    if (e.kind == Kind::Stop) {
      e.outcome = Outcome::Refused;
      e.wrongAnswers = 3;
    }
    entries.push_back(e);
  }
  entries[0].title = std::string(253, 'x') + "ж";
  entries[1].title = "a \"quoted\", comma\r\nand\nbreaks\x01\x7f\t";
  entries[2].title = "Казино Рояль — Mozilla Firefox";
  return entries;
}

// A reader of RFC 4180 as a spreadsheet reads it, to check the writer against.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1);
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      rows.back().push_back(field);
      field.clear();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      rows.back().push_back(field);
      field.clear();
      rows.emplace_back();
      ++i;
    } else {
      field += c;
    }
  }
  if (rows.back().empty()) rows.pop_back();
  return rows;
}

TEST(RecordFile, EveryKindOfEntryComesBackWithItsFieldsFromTheFileAndFromThePipe) {
  const std::vector<Entry> entries = EveryKind();
  const Parsed parsed = Parse(Image(entries));
  EXPECT_TRUE(parsed.ours);
  EXPECT_EQ(parsed.entries, entries);

  const owner::HistoryPage page = owner::PageOf(entries, 0);
  ASSERT_EQ(page.entries.size(), entries.size());
  EXPECT_EQ(page.entries.front(), entries.back());  // newest first
  EXPECT_EQ(owner::DecodeHistoryPage(owner::Encode(page)), page);
}

TEST(RecordFile, APageReaderTrustsNoCountAndNoLength) {
  std::vector<Entry> big(40, EveryKind()[0]);
  for (Entry& e : big) e.detail = std::string(60 * 1024, 'd');
  const owner::HistoryPage page = owner::PageOf(big, 3);
  // A page holds what fits, after the newest three.
  EXPECT_LT(page.entries.size(), 37u);
  EXPECT_LE(owner::Encode(page).size(), owner::kLongestPage);
  EXPECT_EQ(page.skipped, 3u);

  const auto good = owner::Encode(owner::PageOf(EveryKind(), 0));
  auto lying = good;
  lying[12] = 200;  // more entries than follow
  auto shortened = good;
  shortened.pop_back();
  auto longer = good;
  longer.push_back(0);
  for (const auto& bytes : {lying, shortened, longer}) {
    EXPECT_FALSE(owner::DecodeHistoryPage(bytes).has_value());
  }
}

TEST(Journal, ADamagedTailIsCutOffAndEverythingBeforeItStays) {
  const std::vector<Entry> entries = EveryKind();
  for (const int damage : {0, 1, 2}) {
    test::MemoryRecordStorage file;
    Journal first(file);
    first.Open();
    for (int i = 0; i < 3; ++i) first.Add(entries[static_cast<std::size_t>(i)]);
    const std::size_t whole = Image(std::span(entries).first(2)).size();
    if (damage == 0) file.bytes.resize(file.bytes.size() - 5);  // a write cut short
    if (damage == 1) file.bytes[whole + 20] ^= 0x40;            // a sector gone bad
    if (damage == 2) file.bytes.resize(whole + 3);              // not even a length
    Journal again(file);
    const auto note = again.Open();
    ASSERT_TRUE(note.has_value()) << damage;
    EXPECT_EQ(note->kind, Kind::RecordSetAside);
    ASSERT_EQ(again.Entries().size(), 2u);
    EXPECT_EQ(file.bytes.size(), whole);
    EXPECT_TRUE(file.setAside.empty());
    again.Add(entries[5]);
    const Parsed parsed = Parse(file.bytes);
    ASSERT_EQ(parsed.entries.size(), 3u);
    EXPECT_EQ(parsed.entries[2], entries[5]);
  }
}

TEST(Journal, AFileThatIsNotOursIsSetAsideAndANewOneStarted) {
  for (const std::string& content : {std::string(), std::string("MZ\x90\0\3", 5),
                                     std::string("PWHIST"), std::string(5000, '\0')}) {
    test::MemoryRecordStorage file;
    file.exists = true;
    file.bytes.assign(content.begin(), content.end());
    Journal journal(file);
    const auto note = journal.Open();
    ASSERT_TRUE(note.has_value());
    EXPECT_NE(note->detail.find("renamed to history.aside-1"), std::string::npos) << note->detail;
    ASSERT_EQ(file.setAside.size(), 1u);
    EXPECT_EQ(file.setAside[0].size(), content.size());
    EXPECT_EQ(file.bytes, Header());
    EXPECT_TRUE(journal.Entries().empty());
  }
}

TEST(Journal, KeepsTheLastEntriesAndRewritesTheFileOnlyWhenItIsFull) {
  test::MemoryRecordStorage file;
  Journal journal(file, 5, 2);
  journal.Open();
  const int created = file.replaced;
  std::vector<Entry> added;
  for (int i = 0; i < 8; ++i) {
    Entry e = EntryOf(Kind::Stop);
    e.outcome = Outcome::Allowed;
    e.time = i;
    added.push_back(e);
    journal.Add(e);
    EXPECT_EQ(file.replaced, created + (i == 7 ? 1 : 0)) << i;
  }
  const std::vector<Entry> last5(added.end() - 5, added.end());
  EXPECT_EQ(std::vector<Entry>(journal.Entries().begin(), journal.Entries().end()), last5);
  EXPECT_EQ(Parse(file.bytes).entries, last5);

  // A file that failed a write is written whole at the next entry.
  file.failWrites = true;
  EXPECT_FALSE(journal.Add(added[0]));
  file.failWrites = false;
  journal.Add(added[1]);
  EXPECT_EQ(Parse(file.bytes).entries.size(), 7u);
}

TEST(Csv, ATitleWithCommasQuotesLineBreaksAndCyrillicComesBackFromASpreadsheet) {
  const std::vector<Entry> entries = EveryKind();
  const std::string csv = Csv(entries);
  ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  const auto rows = ReadCsv(csv.substr(3));
  ASSERT_EQ(rows.size(), entries.size() + 1);
  EXPECT_EQ(rows[0][0], "Time (UTC)");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const auto& row = rows[i + 1];
    ASSERT_EQ(row.size(), 8u);
    EXPECT_EQ(row[2], entries[i].user);
    EXPECT_EQ(row[4], entries[i].title);
    EXPECT_EQ(row[5], entries[i].word);
    EXPECT_EQ(row[7], entries[i].detail);
  }
  EXPECT_EQ(rows[1][0], "2026-12-08 00:00:01");
  EXPECT_EQ(rows[1][6], "Refused after 3 wrong answers");
}

}  // namespace
}  // namespace pw::history
