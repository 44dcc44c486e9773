#include "rtas/library/PString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A 256-byte Pascal buffer with a guard region after it, so a write past
// the length byte's reach shows.
struct Buffer {
  unsigned char bytes[kPStringCapacity + 16];
  Buffer() { std::memset(bytes, 0xEE, sizeof(bytes)); }
  explicit Buffer(const std::string& text) : Buffer() {
    bytes[0] = static_cast<unsigned char>(text.size());
    std::memcpy(bytes + 1, text.data(), text.size());
  }
  std::string Text() const { return PStringToString(bytes); }
  bool GuardIntact(size_t from) const {
    for (size_t i = from; i < sizeof(bytes); ++i) {
      if (bytes[i] != 0xEE) return false;
    }
    return true;
  }
};

}  // namespace

TEST(PString, CopyTakesTheLengthByteAndEveryCharacter) {
  const Buffer src(std::string(255, 'x'));
  Buffer dst;
  CopyPString(src.bytes, dst.bytes);
  EXPECT_EQ(dst.Text(), std::string(255, 'x'));
  EXPECT_TRUE(dst.GuardIntact(kPStringCapacity));
}

TEST(PString, Copy64KeepsAtMost63CharactersAndSaysSo) {
  const std::string longText = "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-long-tail";
  const Buffer src(longText);
  Buffer dst;
  CopyPString64(src.bytes, dst.bytes);
  EXPECT_EQ(dst.bytes[0], 63);
  EXPECT_EQ(dst.Text(), longText.substr(0, 63));
  EXPECT_TRUE(dst.GuardIntact(kPString64Capacity));

  Buffer shortDst;
  CopyPString64(Buffer("short").bytes, shortDst.bytes);
  EXPECT_EQ(shortDst.Text(), "short");
  EXPECT_TRUE(shortDst.GuardIntact(6));
}

TEST(PString, AppendStopsAtTheMaximumAndAtTheLengthByte) {
  struct Row {
    int32_t maxLength;
    std::string dst, src, expected;
  };
  const Row rows[] = {
      {10, "abc", "defghijk", "abcdefghij"},
      {255, "abc", "de", "abcde"},
      {3, "abc", "de", "abc"},
      {2, "abc", "x", "abc"},                          // already longer: unchanged
      {-1, "", "x", ""},
      {255, std::string(250, 'a'), std::string(10, 'b'), std::string(250, 'a') + std::string(5, 'b')},
      {300, std::string(250, 'a'), std::string(10, 'b'), std::string(250, 'a') + std::string(5, 'b')},
  };
  for (const Row& row : rows) {
    Buffer dst(row.dst);
    AppendPString(row.maxLength, Buffer(row.src).bytes, dst.bytes);
    EXPECT_EQ(dst.Text(), row.expected) << row.maxLength << " " << row.dst.size();
    EXPECT_TRUE(dst.GuardIntact(kPStringCapacity));
  }
}

TEST(PString, EqualityIsBytewiseAndNullOnlyEqualsNull) {
  const Buffer abc("abc"), abc2("abc"), abd("abd"), upper("ABC"), ab("ab"), empty("");
  EXPECT_TRUE(EqualPStrings(nullptr, nullptr));
  EXPECT_FALSE(EqualPStrings(nullptr, empty.bytes));
  EXPECT_FALSE(EqualPStrings(empty.bytes, nullptr));
  EXPECT_TRUE(EqualPStrings(abc.bytes, abc2.bytes));
  EXPECT_FALSE(EqualPStrings(abc.bytes, abd.bytes));
  EXPECT_FALSE(EqualPStrings(abc.bytes, upper.bytes));
  EXPECT_FALSE(EqualPStrings(abc.bytes, ab.bytes));
}

TEST(PString, NumbersAreRightAlignedWithLeadingZeros) {
  struct Row {
    int32_t n;
    std::string dst;
    int32_t width;
    std::string expected;
  };
  const Row rows[] = {
      {7, "", 3, "007"},       {1234, "", 3, "1234"}, {42, "x=", 5, "x=00042"},
      {0, "", 0, "0"},         {99, "", 2, "99"},     {2147483647, "", 12, "002147483647"},
  };
  for (const Row& row : rows) {
    Buffer dst(row.dst);
    FormatNumberPString(row.n, dst.bytes, row.width);
    EXPECT_EQ(dst.Text(), row.expected) << row.n;
  }
  // Near the end of the buffer the zeros fill it and the digits find no room.
  Buffer full(std::string(253, 'a'));
  FormatNumberPString(7, full.bytes, 3);
  EXPECT_EQ(full.Text(), std::string(253, 'a') + "00");
  EXPECT_TRUE(full.GuardIntact(kPStringCapacity));
}
