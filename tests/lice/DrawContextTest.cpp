#include "lice/DrawContext.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace {

TEST(DrawContext, MemoryContextIsZeroedAndAligned) {
  DrawContext* ctx = CreateMemContext(13, 5);
  ASSERT_NE(ctx, nullptr);
  const unsigned char* bits = static_cast<const unsigned char*>(GetMemContextBits(ctx));
  ASSERT_NE(bits, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(bits) % 64, 0u);
  for (int i = 0; i < 13 * 4 * 5; ++i) ASSERT_EQ(bits[i], 0) << i;
  DeleteDrawContext(ctx);
}

TEST(DrawContext, RefusedSizesAndNullHandles) {
  EXPECT_EQ(CreateMemContext(0, 5), nullptr);
  EXPECT_EQ(CreateMemContext(5, -1), nullptr);
  EXPECT_EQ(GetMemContextBits(nullptr), nullptr);
  DeleteDrawContext(nullptr);
}

}  // namespace
