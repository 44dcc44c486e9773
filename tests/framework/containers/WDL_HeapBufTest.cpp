#include "framework/containers/WDL_HeapBuf.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(WDL_HeapBuf, GrowthFollowsGranularity) {
  struct Case { int granularity; int request; int allocated; };
  const Case cases[] = {
      {128, 10, 138},           // small granularity: size plus max(size / 2, granularity)
      {4096, 10000, 12192},     // (10000 + 4096 + 96) rounded down to 4096, less 96
      // step capped at 4 MiB, not 10,000,000
      {4096, 20000000, (20000000 + 4194304 + 96) / 4096 * 4096 - 96},
  };
  for (const Case& c : cases) {
    WDL_HeapBuf buf(c.granularity);
    EXPECT_NE(buf.Resize(c.request), nullptr);
    EXPECT_EQ(buf.GetSize(), c.request);
    EXPECT_EQ(buf.GetAllocated(), c.allocated) << c.granularity << " " << c.request;
  }
}

TEST(WDL_HeapBuf, ShrinkOnlyWhenAllowed) {
  WDL_HeapBuf buf(4096);
  buf.Resize(8000);
  const int allocated = buf.GetAllocated();
  EXPECT_EQ(buf.Resize(0, false), nullptr);
  EXPECT_EQ(buf.GetAllocated(), allocated);  // block kept
  EXPECT_EQ(buf.Get(), nullptr);             // but an empty buffer reads as null

  buf.Resize(8000);
  EXPECT_EQ(buf.Resize(0, true), nullptr);
  EXPECT_EQ(buf.GetAllocated(), 0);
}

TEST(WDL_HeapBuf, KeepsContentsAcrossGrowthAndNegativeIsZero) {
  WDL_HeapBuf buf(128);
  char* p = static_cast<char*>(buf.Resize(5));
  std::memcpy(p, "abcde", 5);
  p = static_cast<char*>(buf.Resize(100000));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(std::memcmp(p, "abcde", 5), 0);
  EXPECT_EQ(buf.Resize(-5), nullptr);
  EXPECT_EQ(buf.GetSize(), 0);
}

TEST(WDL_HeapBuf, CopyIsDeep) {
  WDL_HeapBuf a(128);
  std::memcpy(a.Resize(4), "wxyz", 4);
  WDL_HeapBuf b(a);
  static_cast<char*>(a.Get())[0] = 'q';
  EXPECT_EQ(std::memcmp(b.Get(), "wxyz", 4), 0);
}
