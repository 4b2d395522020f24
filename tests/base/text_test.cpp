#include <gtest/gtest.h>

#include "base/text.h"

namespace pw {
namespace {

TEST(TextTest, AsciiCaseLeavesOtherCharactersWhole) {
  // "É" and "К" in UTF-8: their bytes fall where code page 1252 has capitals.
  EXPECT_EQ(LowerAscii("Casino \xC3\x89\xD0\x9A"), "casino \xC3\x89\xD0\x9A");
  EXPECT_TRUE(EqualsIgnoreCaseAscii("Pagewarden", "PAGEWARDEN"));
  EXPECT_FALSE(EqualsIgnoreCaseAscii("Pagewarden", "Pagewarden Setup"));
}

TEST(TextTest, LeftCountsCharactersNotBytes) {
  EXPECT_EQ(LeftChars("abcdefghij", 8), "abcdefgh");
  EXPECT_EQ(LeftChars("abc", 8), "abc");
  EXPECT_EQ(LeftChars("\xD0\xBA\xD0\xB0\xD0\xB7", 2), "\xD0\xBA\xD0\xB0");  // "каз" -> "ка"
  EXPECT_EQ(LeftChars("a\xF0\x9F\x8E\xB2z", 2), "a\xF0\x9F\x8E\xB2");       // a four-byte one
}

TEST(TextTest, MalformedBytesBecomeReplacementCharacters) {
  EXPECT_EQ(ValidUtf8("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(ValidUtf8("caf\xE9!"), "caf\xEF\xBF\xBD!");                          // a 1252 byte
  EXPECT_EQ(ValidUtf8("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");                  // overlong
  EXPECT_EQ(ValidUtf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");  // surrogate
  EXPECT_EQ(ValidUtf8("\xE2\x82"), "\xEF\xBF\xBD\xEF\xBF\xBD");                  // cut short
}

}  // namespace
}  // namespace pw
