#pragma once

#include <span>
#include <string>

#include "history/entry.h"

namespace pw::history {

// The entries as a CSV file for a spreadsheet: UTF-8 with a byte order mark (so that Excel
// reads it as UTF-8), a header row, CRLF line ends, and every field quoted as RFC 4180 says,
// so a title with commas, quotes or line breaks comes back as it was. Oldest first.
std::string Csv(std::span<const Entry> entries);
// One field, quoted and with its quotes doubled.
std::string CsvField(const std::string& text);

}  // namespace pw::history
