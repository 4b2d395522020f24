// The shared cases of matching as a reader sees it, against Windows' own rules (NormalizeString,
// LCMapStringEx): pw_text_smoke.exe prints "N passed, M failed" and exits 1 on a failure.
#include <string>

#include "platform/win32/backend/win32_text_rules.h"
#include "tests/e2e/smoke_tally.h"
#include "tests/support/reader_form_cases.h"

int main() {
  pw::win32::Win32TextRules rules;
  pw::smoke::Tally tally;
  for (const pw::test::ReaderFormResult& result : pw::test::ReaderFormResults(rules)) {
    tally.That(result.held, result.what);
  }
  tally.That(rules.Lower("PASS\xC3\x89") == "pass\xC3\xA9", "lower case of an accented capital");
  return tally.Report();
}
