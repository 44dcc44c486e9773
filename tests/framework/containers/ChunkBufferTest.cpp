#include "framework/containers/ChunkBuffer.h"

#include <gtest/gtest.h>

#include <climits>

#include "framework/containers/WDL_String.h"

TEST(ChunkBuffer, ValuesRoundTripAtExplicitPositions) {
  ChunkBuffer chunk;
  EXPECT_EQ(chunk.Put(int32_t{0x01020304}), 4);
  EXPECT_EQ(chunk.Put(2.5), 12);
  int32_t i = 0;
  double d = 0;
  EXPECT_EQ(chunk.Get(&i, 0), 4);
  EXPECT_EQ(chunk.Get(&d, 4), 12);
  EXPECT_EQ(i, 0x01020304);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(chunk.GetData()[0], 0x04);  // little-endian
}

TEST(ChunkBuffer, ReadsOutsideTheChunkFailWithoutReading) {
  ChunkBuffer chunk;
  chunk.Put(int32_t{7});
  chunk.Put(int32_t{8});
  const int positions[] = {4, -1, INT_MAX - 2, INT_MIN};
  for (int pos : positions) {
    double value = 42.0;
    EXPECT_EQ(chunk.Get(&value, pos), -1) << pos;
    EXPECT_EQ(value, 42.0);
  }
}

TEST(ChunkBuffer, StringsRoundTripAndBadLengthsAreRejected) {
  ChunkBuffer chunk;
  chunk.PutStr("hello");
  WDL_String s;
  EXPECT_EQ(chunk.GetStr(&s, 0), 9);
  EXPECT_STREQ(s.Get(), "hello");

  ChunkBuffer bad;
  bad.Put(int32_t{100});  // longer than what follows
  bad.PutBytes("abc", 3);
  EXPECT_EQ(bad.GetStr(&s, 0), -1);
  ChunkBuffer negative;
  negative.Put(int32_t{-3});
  EXPECT_EQ(negative.GetStr(&s, 0), -1);
  EXPECT_STREQ(s.Get(), "hello");
}
