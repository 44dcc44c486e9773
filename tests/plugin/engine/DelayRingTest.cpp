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

// What the ring held was delayed by the old length: after a change it would
// come out at the wrong time, or long after it was heard.
TEST(DelayRing, ANewLengthForgetsWhatTheRingHeld) {
  struct Case {
    int from, to;
  };
  for (const Case c : {Case{4, 6}, Case{6, 4}, Case{6, 2}, Case{5, 0}}) {
    DelayRing ring;
    ring.SetCapacity(8);
    ring.SetLength(8);
    for (int i = 0; i < 8; ++i) ring.Push(100.0 + i);  // held while the ring was longer
    ring.SetLength(c.from);
    for (int i = 0; i < 11; ++i) ring.Push(1.0 + i);
    ring.SetLength(c.to);
    for (int i = 0; i < c.to; ++i) EXPECT_EQ(ring.Push(-1.0), 0.0) << c.from << " to " << c.to << ", push " << i;
    EXPECT_EQ(ring.Push(7.0), c.to == 0 ? 7.0 : -1.0);
  }
  // The same length again keeps the delayed samples.
  DelayRing ring;
  ring.SetCapacity(8);
  ring.SetLength(3);
  for (int i = 0; i < 5; ++i) ring.Push(1.0 + i);
  ring.SetLength(3);
  EXPECT_EQ(ring.Push(0.0), 3.0);
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

// A new capacity empties the ring whether it keeps, grows or cuts the
// length, including slots written under an earlier, longer length.
TEST(DelayRing, ANewCapacityStartsFromSilence) {
  struct Case {
    int capacity, length, expectedLength;
  };
  for (const Case c : {Case{16, 5, 5}, Case{5, 5, 5}, Case{3, 5, 3}}) {
    DelayRing ring;
    ring.SetCapacity(8);
    ring.SetLength(8);
    for (int i = 0; i < 8; ++i) ring.Push(100.0 + i);
    ring.SetLength(c.length);
    for (int i = 0; i < 7; ++i) ring.Push(1.0 + i);
    ring.SetCapacity(c.capacity);
    ASSERT_EQ(ring.GetLength(), c.expectedLength);
    for (int i = 0; i < c.expectedLength; ++i) {
      EXPECT_EQ(ring.Push(-1.0), 0.0) << c.capacity << ", push " << i;
    }
    EXPECT_EQ(ring.Push(7.0), -1.0);
    // A longer length reads silence where the earlier longer ring wrote.
    if (c.capacity >= 8) {
      ring.SetLength(8);
      for (int i = 0; i < 8; ++i) EXPECT_EQ(ring.Push(-2.0), 0.0) << c.capacity << ", push " << i;
    }
  }
}
