#pragma once

// Values of the "Type %d" parameter. The "A - " types run the band's own
// second-order sections, the "D - " types Butterworth designs of order
// slope + 1. kBandGainStage is internal: the parameter never offers it.
enum EBandType {
  kTypeAPeak = 0,
  kTypeALowCut = 1,
  kTypeAHighCut = 2,
  kTypeALowShelf = 3,
  kTypeAHighShelf = 4,
  kTypeATiltShelf = 5,
  kTypeAFlatTilt = 6,
  kTypeABandPass = 7,
  kTypeANotch = 8,
  kTypeDPeak = 9,
  kTypeDLowCut = 10,
  kTypeDHighCut = 11,
  kTypeDLowShelf = 12,
  kTypeDHighShelf = 13,
  kTypeDTiltShelf = 14,
  kTypeDBandPass = 15,
  kBandGainStage = 16,
  kNumOfferedBandTypes = 16
};

// Values of the "ChMode %d" parameter (and of the curve channel).
enum EBandChannel { kChannelAll = 0, kChannelLeft = 1, kChannelRight = 2, kChannelMid = 3, kChannelSide = 4 };

// The types whose response depends on the gain.
constexpr bool BandTypeUsesGain(int type) { return type >= 0 && type < 32 && ((0x7279u >> type) & 1u) != 0; }

// The cut types, whose Q the band edits treat as a resonance level in dB.
constexpr bool IsCutBandType(int type) { return type >= 0 && type < 32 && ((0xC06u >> type) & 1u) != 0; }

// The types whose Q the wheel steps.
constexpr bool BandTypeUsesQ(int type) { return type >= 0 && type < 32 && ((0x83B9u >> type) & 1u) != 0; }

// The types whose stage count or design order follows the slope.
constexpr bool BandTypeUsesSlope(int type) {
  return type == kTypeALowCut || type == kTypeAHighCut || type == kTypeABandPass || type == kTypeANotch ||
         (type >= kTypeDPeak && type <= kTypeDBandPass);
}
