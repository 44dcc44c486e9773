#include "plugin/controller/AiffHeader.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "tests/plugin/controller/AudioFileBytes.h"

namespace {

using audiofiletest::Extended;

// Values whose mantissas reach into the low word, fractions, tiny and huge
// magnitudes and both signs; the encoder builds the bytes from frexp.
TEST(ReadExtendedRate, DecodesEveryMantissaBit) {
  const double values[] = {44100.0,
                           1.0,
                           0.75,
                           -3.5,
                           1.0 + std::ldexp(1.0, -40),
                           1.0 + std::ldexp(1.0, -52),
                           96000.0 / 7.0,
                           std::ldexp(1.0, -1000),
                           std::ldexp(1.0, 1000) * 1.5,
                           -1e-300};
  for (const double v : values) {
    const auto bytes = Extended(v);
    EXPECT_EQ(ReadExtendedRate(bytes.data()), v) << v;
  }
  const auto zero = Extended(0.0);
  EXPECT_EQ(ReadExtendedRate(zero.data()), 0.0);
}

TEST(ReadExtendedRate, TheTopExponentGivesTheLargestDouble) {
  const unsigned char positive[10] = {0x7F, 0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0};
  const unsigned char negative[10] = {0xFF, 0xFF, 0xC0, 0, 0, 0, 0, 0, 0, 1};
  EXPECT_EQ(ReadExtendedRate(positive), DBL_MAX);
  EXPECT_EQ(ReadExtendedRate(negative), -DBL_MAX);
}

}  // namespace
