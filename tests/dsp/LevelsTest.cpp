#include "dsp/Levels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(Levels, DecibelConversionsMatchTheirDefinitions) {
  for (double db : {-60.0, -6.0, 0.0, 3.0, 24.0}) {
    EXPECT_NEAR(Levels::DbToAmp(db), std::pow(10.0, db / 20.0), 1e-12);
    EXPECT_NEAR(Levels::AmpToDb(std::pow(10.0, db / 20.0)), db, 1e-9);
  }
}

TEST(Levels, SilenceAndNonFiniteReadAsFloor) {
  EXPECT_EQ(Levels::AmpToDb(0.0), -144.0);
  EXPECT_EQ(Levels::AmpToDb(6.309e-08), -144.0);
  EXPECT_EQ(Levels::AmpToDb(std::numeric_limits<double>::quiet_NaN()), -144.0);
  EXPECT_GT(Levels::AmpToDb(6.4e-08), -144.0);
}

TEST(Levels, TimeConstantCoefficient) {
  EXPECT_NEAR(Levels::TimeConstantCoefficient(0.1, 48000.0), std::pow(10.0, -1.0 / 4800.0), 1e-15);
  EXPECT_EQ(Levels::TimeConstantCoefficient(0.0, 48000.0), 0.0);
}
