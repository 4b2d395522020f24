#include <gtest/gtest.h>

#include "base/text.h"

namespace pw {
namespace {

TEST(TextTest, LowersAsCodePage1252) {
  EXPECT_EQ(LowerAnsi("Casino ROYALE"), "casino royale");
  EXPECT_EQ(LowerAnsi("\xC9"
                      "COLE"),
            "\xE9"
            "cole");                                             // É
  EXPECT_EQ(LowerAnsi("\xD7\xDF\x8A\x9F"), "\xD7\xDF\x9A\xFF");  // × and ß stay; Š, Ÿ lower
  EXPECT_EQ(LowerAnsi(std::string("A\0B", 3)), std::string("a\0b", 3));
}

TEST(TextTest, LeftAndCaseInsensitiveEquality) {
  EXPECT_EQ(LeftAnsi("abcdefghij", 8), "abcdefgh");
  EXPECT_EQ(LeftAnsi("abc", 8), "abc");
  EXPECT_TRUE(EqualsIgnoreCaseAnsi("Pagewarden", "PAGEWARDEN"));
  EXPECT_TRUE(EqualsIgnoreCaseAnsi("\xC9t\xE9", "\xE9T\xC9"));
  EXPECT_FALSE(EqualsIgnoreCaseAnsi("Pagewarden", "Pagewarden Setup"));
}

}  // namespace
}  // namespace pw
