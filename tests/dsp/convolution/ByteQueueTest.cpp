#include "dsp/convolution/ByteQueue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <random>
#include <vector>

namespace {

void ExpectSame(const ByteQueue& q, const std::deque<unsigned char>& model) {
  ASSERT_EQ(q.Available(), static_cast<int>(model.size()));
  const unsigned char* data = static_cast<const unsigned char*>(q.Get());
  if (model.empty()) {
    ASSERT_EQ(data, nullptr);
    return;
  }
  ASSERT_NE(data, nullptr);
  for (size_t i = 0; i < model.size(); ++i) ASSERT_EQ(data[i], model[i]) << i;
}

// Random appends, advances (past the end and backwards too) and front
// padding against a plain deque.
TEST(ByteQueue, BehavesAsAFifo) {
  std::mt19937 rng(42);
  ByteQueue q;
  std::deque<unsigned char> model;
  unsigned char next = 0;
  for (int step = 0; step < 1500; ++step) {
    const int op = static_cast<int>(rng() % 10);
    if (op < 5) {
      const int n = static_cast<int>(rng() % 300);
      std::vector<unsigned char> bytes(static_cast<size_t>(n));
      for (unsigned char& b : bytes) b = ++next;
      const bool zeros = op == 4;
      if (op == 3) {
        // Reserved, then written in place.
        unsigned char* where = static_cast<unsigned char*>(q.Append(n));
        ASSERT_NE(where, nullptr);
        if (n > 0) std::memcpy(where, bytes.data(), bytes.size());
      } else {
        void* where = q.Add(zeros ? nullptr : bytes.data(), n);
        ASSERT_NE(where, nullptr);
      }
      for (int i = 0; i < n; ++i) model.push_back(zeros ? 0 : bytes[static_cast<size_t>(i)]);
    } else if (op < 9) {
      int n = static_cast<int>(rng() % 400);
      if (op == 8) n = -n;  // ignored below 0: nothing is un-read
      q.Advance(n);
      for (int i = 0; i < n && !model.empty(); ++i) model.pop_front();
    } else {
      const int n = static_cast<int>(rng() % 50);
      ASSERT_TRUE(q.AddZerosAtFront(n));
      for (int i = 0; i < n; ++i) model.push_front(0);
    }
    ExpectSame(q, model);
  }
  q.Clear();
  model.clear();
  ExpectSame(q, model);
}

TEST(ByteQueue, AddReturnsWhereTheBytesWent) {
  ByteQueue q;
  const double values[3] = {1.5, -2.0, 3.25};
  q.Add(values, sizeof(values));
  double* zeros = static_cast<double*>(q.Add(nullptr, 2 * sizeof(double)));
  ASSERT_NE(zeros, nullptr);
  EXPECT_EQ(zeros[0], 0.0);
  EXPECT_EQ(zeros[1], 0.0);
  EXPECT_EQ(static_cast<double*>(q.Get())[2], 3.25);
}

}  // namespace
