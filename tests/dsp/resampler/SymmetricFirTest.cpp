#include "dsp/resampler/SymmetricFir.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/dsp/RandomSignal.h"

namespace {

// out[i] = sum_j taps[j] (s[i - j] + s[i - L + 1 + j]) + the middle tap, each
// output summed in that order, which every vector width keeps: the results
// are the same to the bit whatever the count and the processor.
double Direct(const double* s, const std::vector<double>& taps, int length, int i) {
  double acc = 0.0;
  for (int j = 0; j < length / 2; ++j) acc += taps[j] * (s[i - j] + s[i - length + 1 + j]);
  if (length & 1) acc += taps[length / 2] * s[i - length / 2];
  return acc;
}

TEST(SymmetricFir, EveryCountAndLengthGivesTheDirectSumBitForBit) {
  for (int length : {1, 2, 7, 8, 31, 63}) {
    const std::vector<double> taps = RandomSignal(length, 11 + length);
    for (int count : {1, 3, 4, 7, 8, 15, 16, 17, 31, 33, 48, 100}) {
      const std::vector<double> signal = RandomSignal(length + count, 5 + count);
      const double* s = signal.data() + length - 1;  // s[-(length - 1)] is the oldest input read
      for (bool accumulate : {false, true}) {
        std::vector<double> out(static_cast<size_t>(count), 0.25);
        SymmetricFir(s, taps.data(), length, out.data(), count, accumulate);
        for (int i = 0; i < count; ++i) {
          const double y = Direct(s, taps, length, i);
          ASSERT_EQ(out[i], accumulate ? 0.25 + y : y)
              << "length " << length << ", count " << count << ", output " << i << ", accumulate " << accumulate;
        }
      }
    }
  }
}

}  // namespace
