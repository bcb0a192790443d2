#include "platform/hand_over.h"

#include <gtest/gtest.h>

namespace pictavo {
namespace {

using Args = std::vector<std::string>;

TEST(HandOver, TheMessageIsTheDataStreamFormOfAStringList) {
  // As Qt's data stream writes {"ab", "写"}: what a start of any version sends.
  const std::string qt("\0\0\0\x02" "\0\0\0\x04" "\0a\0b" "\0\0\0\x02" "\x51\x99", 18);
  EXPECT_EQ(WriteHandOver({"ab", "写"}), qt);
  EXPECT_EQ(ReadHandOver(qt), (Args{"ab", "写"}));
  // A null string, a pair of surrogates, and half a pair.
  const std::string odd("\0\0\0\x03" "\xFF\xFF\xFF\xFF" "\0\0\0\x04" "\xD8\x3D\xDE\x00" "\0\0\0\x02" "\xDC\x00", 22);
  EXPECT_EQ(ReadHandOver(odd), (Args{"", "😀", "\uFFFD"}));
  EXPECT_EQ(ReadHandOver(WriteHandOver({"", "😀", "/a b/../c"})), (Args{"", "😀", "/a b/../c"}));
}

TEST(HandOver, CountsAreCheckedAgainstTheBytesPresent) {
  EXPECT_FALSE(ReadHandOver(""));
  EXPECT_FALSE(ReadHandOver(std::string("\xFF\xFF\xFF\xF0\0\0\0\x02\0x", 10)));  // billions of strings claimed
  EXPECT_FALSE(ReadHandOver(std::string("\0\0\0\x01\x7F\xFF\xFF\xFE\0x", 10)));  // a string longer than the message
  EXPECT_FALSE(ReadHandOver(std::string("\0\0\0\x01\0\0\0\x03\0xy", 11)));      // half a unit
  EXPECT_FALSE(ReadHandOver(WriteHandOver({"a"}) + "x"));                       // bytes left over
  EXPECT_EQ(ReadHandOver(std::string("\0\0\0\0", 4)), Args{});
  // Up to the limit a message is read; past it, not at all.
  const std::string longest(kMaxHandOverBytes / 2 - 4, 'x');
  EXPECT_EQ(WriteHandOver({longest}).size(), kMaxHandOverBytes);
  EXPECT_EQ(ReadHandOver(WriteHandOver({longest})), Args{longest});
  EXPECT_FALSE(ReadHandOver(WriteHandOver({longest + "x"})));
}

}  // namespace
}  // namespace pictavo
