#include "plugin/engine/EngineLatency.h"

#include <gtest/gtest.h>

namespace {

struct LatencyCase {
  int converter, osFactor, filterMode, firLatency, expected;
};

class LatencySum : public ::testing::TestWithParam<LatencyCase> {};

TEST_P(LatencySum, ConverterPartPlusFilterPartAtTheHostRate) {
  const LatencyCase c = GetParam();
  EXPECT_EQ(CalcLatency(c.converter, c.osFactor, c.filterMode, c.firLatency, 0), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LatencySum,
    ::testing::Values(LatencyCase{0, 1, 0, 4096, 0},             // "Zero Latency" ignores the FIR path
                      LatencyCase{0, 1, 1, 4096, 4096},          // "MinimumPhase Eco"
                      LatencyCase{0, 1, 6, 49152, 49152},        // "LinearPhase Max"
                      LatencyCase{3070, 2, 0, 8192, 3070},       // oversampled "Zero Latency": converters alone
                      LatencyCase{3070, 2, 6, 98304, 52222},     // L grows with the factor: same filter part
                      LatencyCase{3093, 4, 3, 131072, 35861},    //
                      LatencyCase{10, 4, 2, 8195, 2058},         // the division truncates
                      LatencyCase{3070, 2, -1, 8192, 3070}));    // a negative mode: converters alone

TEST(HostTakesLatencyAtOnce, OnlyTheListedHosts) {
  for (int id : {26, 7, 32, 40, 21}) EXPECT_TRUE(HostTakesLatencyAtOnce(id)) << id;
  for (int id : {-1, 0, 1, 2, 3, 9, 33}) EXPECT_FALSE(HostTakesLatencyAtOnce(id)) << id;
}

}  // namespace
