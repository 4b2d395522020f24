#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim_text_rules.h"
#include "tests/support/reader_form_cases.h"

namespace pw {
namespace {

TEST(TextRulesTest, SharedCasesMatchAsAReaderSeesThem) {
  sim::SimTextRules rules;
  for (const test::ReaderFormResult& result : test::ReaderFormResults(rules)) {
    EXPECT_TRUE(result.held) << result.what;
  }
}

TEST(TextRulesTest, MalformedTextStillGetsAForm) {
  sim::SimTextRules rules;
  EXPECT_EQ(rules.ReaderForm("CAF\xC9"), "caf\xEF\xBF\xBD");
  EXPECT_EQ(rules.Lower("PASS\xC3\x89"), "pass\xC3\xA9");
}

}  // namespace
}  // namespace pw
