#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim_text_rules.h"
#include "tests/support/reader_form_cases.h"

namespace pw {
namespace {

TEST(TextRulesTest, SharedCasesMatchAsAReaderSeesThem) {
  sim::SimTextRules rules;
  for (const test::ReaderFormCase& c : test::kReaderFormCases) {
    const std::string title = rules.ReaderForm(c.title);
    const std::string word = rules.ReaderForm(c.word);
    EXPECT_EQ(title.find(word) != std::string::npos, c.contains)
        << c.title << " / " << c.word << " -> " << title << " / " << word;
  }
}

TEST(TextRulesTest, MalformedTextStillGetsAForm) {
  sim::SimTextRules rules;
  EXPECT_EQ(rules.ReaderForm("CAF\xC9"), "caf\xEF\xBF\xBD");
  EXPECT_EQ(rules.Lower("PASS\xC3\x89"), "pass\xC3\xA9");
}

}  // namespace
}  // namespace pw
