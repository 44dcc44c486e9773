#include "tools/TestSignalSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

std::vector<std::vector<float>> ReadAll(TestSignalSource& source) {
  std::vector<std::vector<float>> all(2);
  const float* const* ch = nullptr;
  while (const size_t n = source.Next(&ch)) {
    for (int c = 0; c < 2; ++c) all[c].insert(all[c].end(), ch[c], ch[c] + n);
  }
  return all;
}

TEST(TestSignalSource, TwoSecondsOfStereoSweepAndNoiseTheSameEveryTime) {
  TestSignalSource a, b;
  EXPECT_EQ(a.Channels(), 2);
  EXPECT_EQ(a.SampleRate(), 48000u);
  ASSERT_EQ(a.Frames(), 96000u);
  const auto first = ReadAll(a), second = ReadAll(b);
  ASSERT_EQ(first[0].size(), 96000u);
  EXPECT_EQ(first, second);

  double peak = 0.0, difference = 0.0;
  for (size_t i = 0; i < first[0].size(); ++i) {
    peak = std::fmax(peak, std::fabs(first[0][i]));
    difference = std::fmax(difference, std::fabs(first[0][i] - first[1][i]));
  }
  // -12 dBFS sweep plus -40 dBFS noise: the peak lies between the two sums.
  EXPECT_GT(peak, 0.25 - 0.01);
  EXPECT_LE(peak, 0.25 + 0.01);
  // The channels share the sweep and differ by their noise alone.
  EXPECT_GT(difference, 0.005);
  EXPECT_LE(difference, 0.02);
  // Faded at both ends.
  EXPECT_EQ(first[0].front(), 0.0f);
  EXPECT_EQ(first[0].back(), 0.0f);
  EXPECT_LT(std::fabs(first[0][10]), 0.26 * 10.0 / 480.0);
}

}  // namespace
