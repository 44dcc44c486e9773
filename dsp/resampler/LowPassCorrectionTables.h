#pragma once

#include <cstdint>

// Built-in correction tables of the low-pass kernel design: signed 8-bit
// entries that, divided by their divisor, trim the designed attenuation of a
// kernel by that many dB.
constexpr int kLowPassCorrectionEntries = 265;
constexpr double kLowPassCorrectionWideDivisor = 101.0;    // transition >= 25 %
constexpr double kLowPassCorrectionMediumDivisor = 210.0;  // 10 % .. 25 %
constexpr double kLowPassCorrectionNarrowDivisor = 196.0;  // below 10 %

extern const int8_t kLowPassCorrectionWide[kLowPassCorrectionEntries];
extern const int8_t kLowPassCorrectionMedium[kLowPassCorrectionEntries];
extern const int8_t kLowPassCorrectionNarrow[kLowPassCorrectionEntries];
