#include "owner/protocol.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pw::owner {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Written out by hand, so that the tests hold the layout and not the encoder's idea of it.
Bytes Message(std::uint8_t version, std::uint8_t kind, std::uint32_t count) {
  Bytes out{version, kind};
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<std::uint8_t>(count >> shift));
  return out;
}
void AddField(Bytes& out, const std::string& text, std::uint32_t claimed) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<std::uint8_t>(claimed >> shift));
  out.insert(out.end(), text.begin(), text.end());
}
void AddField(Bytes& out, const std::string& text) {
  AddField(out, text, static_cast<std::uint32_t>(text.size()));
}

TEST(OwnerProtocolTest, AWellFormedRequestReadsBackWithEveryByteOfItsFields) {
  Bytes bytes = Message(1, 3, 3);
  AddField(bytes, "admin");
  AddField(bytes, "");
  AddField(bytes, std::string("a\0$\xff,1", 6));
  const auto request = DecodeRequest(bytes);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->ask, Ask::StoreSettings);
  EXPECT_EQ(request->fields, (std::vector<std::string>{"admin", "", std::string("a\0$\xff,1", 6)}));
  EXPECT_EQ(Encode(*request), bytes);
}

TEST(OwnerProtocolTest, ARequestIsRefusedWhenAnyPartIsMissingExtraOrBeyondTheLimits) {
  Bytes whole = Message(1, 1, 1);
  AddField(whole, "secret");
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    EXPECT_FALSE(DecodeRequest(Bytes(whole.begin(), whole.begin() + cut))) << cut << " bytes";
  }
  Bytes trailing = whole;
  trailing.push_back(0);
  EXPECT_FALSE(DecodeRequest(trailing));

  Bytes version = whole;
  version[0] = 2;
  EXPECT_FALSE(DecodeRequest(version));
  for (const std::uint8_t kind : {0, 8, 255}) {
    Bytes unknown = whole;
    unknown[1] = kind;
    EXPECT_FALSE(DecodeRequest(unknown)) << int{kind};
  }

  // A count or a length past the limits is refused before anything is taken, even when the
  // message is too short to hold it.
  EXPECT_FALSE(DecodeRequest(Message(1, 1, kMostFields + 1)));
  Bytes huge = Message(1, 1, 1);
  AddField(huge, "x", 0xFFFFFFFFu);
  EXPECT_FALSE(DecodeRequest(huge));
  Bytes longest = Message(1, 1, 1);
  AddField(longest, std::string(kLongestField, 'x'));
  EXPECT_TRUE(DecodeRequest(longest));
  Bytes tooLong = Message(1, 1, 1);
  AddField(tooLong, std::string(kLongestField + 1, 'x'));
  EXPECT_FALSE(DecodeRequest(tooLong));

  // Many fields, each within its limit, still make a message beyond the longest.
  Bytes oversized = Message(1, 3, 17);
  for (int i = 0; i < 17; ++i) AddField(oversized, std::string(kLongestField, 'x'));
  ASSERT_GT(oversized.size(), kLongestMessage);
  EXPECT_FALSE(DecodeRequest(oversized));
}

TEST(OwnerProtocolTest, AReplyIsExactlyEightBytesOfAnAnswerThatMayTravel) {
  const Reply wait{Answer::Wait, 42, false};
  const Bytes bytes = Encode(wait);
  EXPECT_EQ(bytes, (Bytes{1, 2, 0, 0, 42, 0, 0, 0}));
  EXPECT_EQ(DecodeReply(bytes), wait);

  Bytes longer = bytes;
  longer.push_back(0);
  EXPECT_FALSE(DecodeReply(longer));
  EXPECT_FALSE(DecodeReply(Bytes(bytes.begin(), bytes.end() - 1)));
  EXPECT_FALSE(DecodeReply(Bytes{2, 2, 0, 0, 42, 0, 0, 0}));
  // The guard's own word for no answer is never taken off the wire.
  EXPECT_FALSE(DecodeReply(Bytes{1, 6, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(DecodeReply(Bytes{1, 0, 2, 0, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace pw::owner
