#include "history/csv.h"

namespace pw::history {

std::string CsvField(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string Csv(std::span<const Entry> entries) {
  std::string out = "\xEF\xBB\xBF";
  out += "Time (UTC),Event,User,Program,Title,Word,Outcome,Details\r\n";
  for (const Entry& e : entries) {
    const std::string fields[] = {TimeText(e.time), KindText(e.kind), e.user,         e.program,
                                  e.title,          e.word,           OutcomeText(e), e.detail};
    bool first = true;
    for (const std::string& field : fields) {
      if (!first) out += ',';
      first = false;
      out += CsvField(field);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace pw::history
