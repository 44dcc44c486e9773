#include "dsp/filters/Cascade.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/dsp/filters/FilterTestSupport.h"

namespace {

using Dsp::Complex;
constexpr double kPi = 3.141592653589793;

struct Fixture {
  Dsp::BiquadStage stages[4];
  Dsp::PoleZeroEntry entries[4];
  Dsp::Cascade cascade;
  Dsp::PoleZeroLayout layout;
  Fixture() {
    cascade.setStageStorage(4, stages);
    layout.setStorage(8, entries);
  }
};

TEST(Cascade, ResponseMatchesTheTransferFunction) {
  Fixture f;
  f.layout.addPoleZeroConjugatePairs(std::polar(0.8, 0.3), std::polar(1.0, 2.5));
  f.layout.add(std::polar(0.6, 1.2), Complex(0.3, 0), std::polar(0.6, -1.2), Complex(-0.7, 0));
  f.layout.add(Complex(0.4, 0), Complex(0.9, 0));
  f.layout.setNormal(0.0, 2.0);
  f.cascade.setLayout(f.layout);
  ASSERT_EQ(f.cascade.getNumStages(), 3);
  for (double w : {0.0, 0.1, 0.7, 1.9, 3.0, kPi}) {
    const Complex expected = FilterTestSupport::StageResponse(f.cascade, w);
    const Complex actual = f.cascade.response(w / (2 * kPi));
    EXPECT_NEAR(std::abs(actual - expected), 0.0, 1e-12 * std::abs(expected)) << w;
  }
}

// Only stage 0 is scaled, by magnitude; a response that is negative at the
// normalisation point stays negative.
TEST(Cascade, NormalisationScalesStageZeroByMagnitude) {
  Fixture f;
  f.layout.addPoleZeroConjugatePairs(std::polar(0.5, 1.0), Complex(-1, 0));
  f.layout.add(Complex(-0.3, 0), Complex(2, 0));  // 1 - 2 z^-1: negative at DC
  f.layout.setNormal(0.0, 0.5);
  f.cascade.setLayout(f.layout);
  const Complex h = f.cascade.response(0.0);
  EXPECT_NEAR(h.real(), -0.5, 1e-12);
  EXPECT_NEAR(h.imag(), 0.0, 1e-12);
  EXPECT_EQ(f.cascade[1].b0, 1.0);
  EXPECT_EQ(f.cascade[1].b1, -2.0);
}

// A response of 0 at the normalisation point cannot be normalised: the
// numerator stays as it is instead of turning into inf or NaN.
TEST(Cascade, ZeroAtTheNormalisationPointLeavesTheNumerator) {
  Fixture f;
  f.layout.addPoleZeroConjugatePairs(std::polar(0.5, 1.0), Complex(-1, 0));
  f.layout.setNormal(kPi, 1.0);
  f.cascade.setLayout(f.layout);
  EXPECT_EQ(f.cascade[0].b0, 1.0);
  EXPECT_EQ(f.cascade[0].b1, 2.0);
  EXPECT_EQ(f.cascade[0].b2, 1.0);
}

TEST(Cascade, EmptyCascadeRespondsWithOne) {
  Fixture f;
  EXPECT_EQ(f.cascade.response(0.1), Complex(1.0, 0.0));
  f.cascade.setLayout(f.layout);
  EXPECT_EQ(f.cascade.getNumStages(), 0);
  EXPECT_EQ(f.cascade.response(0.3), Complex(1.0, 0.0));
}

TEST(Cascade, LayoutBeyondCapacityIsCut) {
  Dsp::PoleZeroEntry big[8];
  Dsp::PoleZeroLayout layout;
  layout.setStorage(16, big);
  for (int i = 0; i < 8; ++i) layout.addPoleZeroConjugatePairs(std::polar(0.5, 0.1 * i + 0.1), Complex(-1, 0));
  Fixture f;
  f.cascade.setLayout(layout);
  EXPECT_EQ(f.cascade.getNumStages(), 4);
}

TEST(PoleZeroLayout, AppendsRefuseOverrunAndEntriesAfterTheOddOne) {
  Dsp::PoleZeroEntry entries[2];
  Dsp::PoleZeroLayout layout;
  layout.setStorage(3, entries);
  EXPECT_TRUE(layout.addPoleZeroConjugatePairs(Complex(0.1, 0.2), Complex(-1, 0)));
  EXPECT_TRUE(layout.add(Complex(0.3, 0), Complex(-1, 0)));
  EXPECT_FALSE(layout.add(Complex(0.4, 0), Complex(-1, 0)));
  EXPECT_EQ(layout.getNumPoles(), 3);
  EXPECT_TRUE(layout[1].isFirstOrder());
  EXPECT_TRUE(layout.isOddEntry(1));
  EXPECT_EQ(layout[0].pole2, Complex(0.1, -0.2));
  layout.reset();
  EXPECT_TRUE(layout.addPoleZeroConjugatePairs(Complex(0.1, 0.2), Complex(-1, 0)));
  EXPECT_FALSE(layout.addPoleZeroConjugatePairs(Complex(0.1, 0.2), Complex(-1, 0)));
}

}  // namespace
