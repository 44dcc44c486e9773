#include "dsp/convolution/BlockQueue.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <vector>

namespace {

void ExpectSame(const BlockQueue& q, const std::deque<unsigned char>& model, std::mt19937& rng) {
  ASSERT_EQ(q.Available(), static_cast<int>(model.size()));
  // A read from a random offset, across block boundaries.
  const int offset = model.empty() ? 0 : static_cast<int>(rng() % model.size());
  std::vector<unsigned char> out(model.size() + 10, 0xEE);
  const int copied = q.GetToBuf(offset, out.data(), static_cast<int>(out.size()));
  ASSERT_EQ(copied, static_cast<int>(model.size()) - offset);
  for (int i = 0; i < copied; ++i) ASSERT_EQ(out[static_cast<size_t>(i)], model[static_cast<size_t>(offset + i)]);
  EXPECT_EQ(out[static_cast<size_t>(copied)], 0xEE);  // nothing written past what was there
  // Where a peek finds its bytes together, they are the next ones; the
  // next byte always lies in the first block, and no more than is there
  // can be peeked.
  const int available = q.Available();
  EXPECT_EQ(q.Peek(available + 1), nullptr);
  if (available > 0) {
    EXPECT_NE(q.Peek(1), nullptr);
  }
  const int length = available > 0 ? 1 + static_cast<int>(rng() % static_cast<unsigned>(available)) : 0;
  if (const unsigned char* there = static_cast<const unsigned char*>(q.Peek(length))) {
    for (int i = 0; i < length; ++i) ASSERT_EQ(there[i], model[static_cast<size_t>(i)]) << i;
  }
}

TEST(BlockQueue, BehavesAsAFifoAcrossBlocks) {
  struct Case { int blockSize; int maxSpare; int maxAdd; };
  for (const Case& c : {Case{64, -1, 100}, Case{64, 0, 40}, Case{1000, 2, 3000}, Case{BlockQueue::kDefaultBlockSize, -1, 70000}}) {
    std::mt19937 rng(7u + static_cast<unsigned>(c.blockSize));
    BlockQueue q(c.blockSize, c.maxSpare);
    std::deque<unsigned char> model;
    unsigned char next = 0;
    for (int step = 0; step < 400; ++step) {
      const int op = static_cast<int>(rng() % 9);
      if (op < 4) {
        const int n = static_cast<int>(rng() % static_cast<unsigned>(c.maxAdd));
        std::vector<unsigned char> bytes(static_cast<size_t>(n));
        for (unsigned char& b : bytes) b = ++next;
        const bool zeros = op == 3;
        q.Add(zeros ? nullptr : bytes.data(), n);
        for (int i = 0; i < n; ++i) model.push_back(zeros ? 0 : bytes[static_cast<size_t>(i)]);
      } else if (op < 8) {
        const int n = static_cast<int>(rng() % static_cast<unsigned>(c.maxAdd + 20));
        q.Advance(n);
        for (int i = 0; i < n && !model.empty(); ++i) model.pop_front();
      } else if (rng() % 4 == 0) {
        q.Clear();
        model.clear();
      }
      ExpectSame(q, model, rng);
    }
  }
}

TEST(BlockQueue, ReadsOutsideTheContentCopyNothing) {
  BlockQueue q(16);
  const char text[] = "abcdefghijklmnopqrstuvwxyz";
  q.Add(text, 26);
  char out[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(q.GetToBuf(26, out, 4), 0);
  EXPECT_EQ(q.GetToBuf(-1, out, 4), 0);
  EXPECT_EQ(q.GetToBuf(24, out, 4), 2);
  EXPECT_EQ(out[0], 'y');
  EXPECT_EQ(out[1], 'z');
  EXPECT_EQ(out[2], 'x');
}

}  // namespace
