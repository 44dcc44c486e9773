#include "plugin/engine/DelayRing.h"

#include <gtest/gtest.h>

#include <vector>

TEST(DelayRing, DelaysByItsLengthAndPassesThroughAtZero) {
  DelayRing ring;
  EXPECT_EQ(ring.Push(3.0), 3.0);  // no capacity: pass-through
  ring.SetCapacity(8);
  ring.SetLength(3);
  const double expected[] = {0, 0, 0, 1, 2, 3, 4, 5};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(ring.Push(i + 1.0), expected[i]) << i;
  ring.SetLength(0);
  EXPECT_EQ(ring.Push(9.0), 9.0);
}

TEST(DelayRing, LengthIsBoundedByTheCapacity) {
  DelayRing ring;
  ring.SetCapacity(4);
  ring.SetLength(100);
  EXPECT_EQ(ring.GetLength(), 4);
  ring.SetLength(-2);
  EXPECT_EQ(ring.GetLength(), 0);
  ring.SetLength(4);
  for (int i = 0; i < 3; ++i) ring.Push(1.0);
  ring.SetLength(2);  // position past the new end restarts at 0
  for (int i = 0; i < 10; ++i) ring.Push(2.0);
  EXPECT_EQ(ring.Push(5.0), 2.0);
}

// Blocks shorter and longer than the ring, at every phase of it.
TEST(DelayRing, BlockPushesGiveWhatSinglePushesGive) {
  for (int length : {0, 1, 7, 100}) {
    DelayRing blocks, singles;
    for (DelayRing* ring : {&blocks, &singles}) {
      ring->SetCapacity(128);
      ring->SetLength(length);
    }
    double next = 1.0;
    for (int n : {1, 3, 250, 6, 99, 1, 300}) {
      std::vector<double> in(static_cast<size_t>(n)), out(static_cast<size_t>(n));
      for (double& x : in) x = next++;
      blocks.PushBlock(in.data(), out.data(), n);
      for (int i = 0; i < n; ++i) ASSERT_EQ(out[i], singles.Push(in[i])) << "length " << length << ", block " << n;
    }
  }
}
