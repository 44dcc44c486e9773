#include "plugin/controller/FactoryPresets.h"

#include "plugin/engine/BandTypes.h"

namespace {

// "Slope" index of a slope in dB per octave: " 6 dB" is 0, "96 dB" is 15.
constexpr int Slope(int dbPerOctave) { return dbPerOctave / 6 - 1; }

constexpr int kOSOff = 0;
constexpr int kZeroLatency = 0;
constexpr int kLinearPhaseEco = 4;

constexpr FactoryBand On(int type, int chMode, int slopeDb, double gainDb, double freqHz, double q) {
  return {type, chMode, Slope(slopeDb), gainDb, freqHz, q, 1};
}

// The resting band most presets leave switched off: a flat "A - Peak".
constexpr FactoryBand OffPeak(double freqHz, double q) {
  return {kTypeAPeak, kChannelAll, Slope(6), 0.0, freqHz, q, 0};
}

constexpr int A = kChannelAll;
constexpr int L = kChannelLeft;
constexpr int R = kChannelRight;
constexpr int S = kChannelSide;

}  // namespace

const FactoryPreset kFactoryPresets[kNumFactoryPresets] = {
    {"Master:Side:Cut Low,Lift High",
     kOSOff,
     kZeroLatency,
     {On(kTypeALowCut, S, 12, 0.0, 100.0, 0.7), OffPeak(50.0, 1.0), OffPeak(80.0, 1.0), OffPeak(100.0, 1.0),
      OffPeak(250.0, 1.0), OffPeak(500.0, 1.0), On(kTypeAHighShelf, S, 6, 3.0, 1000.0, 1.0), OffPeak(2000.0, 1.0),
      OffPeak(4000.0, 1.0), OffPeak(8000.0, 1.0), OffPeak(14000.0, 1.0), OffPeak(18000.0, 1.0)}},

    {"Master:Brickwall 20k",
     kOSOff,
     kZeroLatency,
     {OffPeak(30.0, 1.0), OffPeak(50.0, 1.0), OffPeak(80.0, 1.0), OffPeak(100.0, 1.0), OffPeak(250.0, 1.0),
      OffPeak(500.0, 1.0), OffPeak(1000.0, 1.0), OffPeak(2000.0, 1.0), OffPeak(4000.0, 1.0), OffPeak(18000.0, 0.7),
      OffPeak(20000.0, 0.7), On(kTypeAHighCut, A, 96, 0.0, 20000.0, 0.7)}},

    {"Master:Telephone",
     kOSOff,
     kZeroLatency,
     {On(kTypeAPeak, A, 6, -18.0, 300.0, 10.0), On(kTypeALowCut, A, 24, 0.0, 400.0, 0.7),
      On(kTypeAPeak, A, 6, 3.6, 400.0, 2.0), On(kTypeAPeak, A, 6, 8.6, 300.0, 2.5),
      On(kTypeAPeak, A, 6, -18.0, 4400.0, 10.0), On(kTypeAHighCut, A, 24, 0.0, 3400.0, 0.7),
      On(kTypeAPeak, A, 6, 3.6, 3400.0, 2.0), On(kTypeAPeak, A, 6, 8.6, 4400.0, 2.5), OffPeak(22000.0, 1.0),
      OffPeak(22000.0, 0.7), OffPeak(22000.0, 0.7), OffPeak(22000.0, 0.7)}},

    {"Master:AM Radio",
     kOSOff,
     kZeroLatency,
     {On(kTypeAPeak, A, 6, -18.0, 80.0, 10.0), On(kTypeALowCut, A, 24, 0.0, 130.0, 0.7),
      On(kTypeAPeak, A, 6, 3.3, 130.0, 2.0), On(kTypeAPeak, A, 6, 10.0, 100.0, 2.5),
      On(kTypeAPeak, A, 6, -18.0, 6300.0, 10.0), On(kTypeAHighCut, A, 24, 0.0, 3750.0, 0.7),
      On(kTypeAPeak, A, 6, 3.3, 3750.0, 2.0), On(kTypeAPeak, A, 6, 10.0, 4850.0, 2.5), OffPeak(22000.0, 1.0),
      OffPeak(22000.0, 1.0), OffPeak(22000.0, 1.0), OffPeak(22000.0, 1.0)}},

    {"Master:Karaoke",
     kOSOff,
     kZeroLatency,
     {OffPeak(10.0, 1.0), On(kTypeAPeak, A, 6, 11.9, 25.0, 0.25), OffPeak(10.0, 1.0), OffPeak(10.0, 1.0),
      OffPeak(10.0, 1.0), On(kTypeAHighShelf, A, 6, -12.0, 150.0, 3.0), On(kTypeALowShelf, A, 6, -12.0, 2500.0, 3.0),
      OffPeak(22000.0, 1.0), OffPeak(22000.0, 1.0), On(kTypeAPeak, A, 6, 11.9, 11609.7, 0.25), OffPeak(22000.0, 1.0),
      OffPeak(22000.0, 1.0)}},

    {"Master:Vinyl",
     kOSOff,
     kZeroLatency,
     {On(kTypeALowCut, S, 12, 0.0, 145.0, 0.7),
      {kTypeDHighShelf, A, Slope(6), -15.0, 22000.0, 1.0, 0},
      On(kTypeAHighShelf, A, 6, -15.4, 15000.0, 0.55), OffPeak(22000.0, 0.7), OffPeak(22000.0, 0.7),
      OffPeak(22000.0, 0.7), OffPeak(22000.0, 0.7), OffPeak(22000.0, 0.7), OffPeak(22000.0, 0.7),
      OffPeak(22000.0, 0.7), OffPeak(22000.0, 0.7), OffPeak(22000.0, 0.7)}},

    {"Track:Hum 50Hz",
     kOSOff,
     kZeroLatency,
     {OffPeak(10.0, 1.0), On(kTypeANotch, A, 48, 0.0, 50.0, 10.0), On(kTypeANotch, A, 48, 0.0, 100.0, 10.0),
      On(kTypeANotch, A, 48, 0.0, 150.0, 10.0), On(kTypeANotch, A, 48, 0.0, 200.0, 10.0), OffPeak(22000.0, 1.0),
      OffPeak(22000.0, 1.0), OffPeak(22000.0, 1.0), OffPeak(22000.0, 1.0), OffPeak(22000.0, 1.0),
      OffPeak(22000.0, 1.0), OffPeak(22000.0, 1.0)}},

    {"Track:Hum 60Hz",
     kOSOff,
     kZeroLatency,
     {OffPeak(10.0, 1.0), On(kTypeANotch, A, 48, 0.0, 60.0, 10.0), On(kTypeANotch, A, 48, 0.0, 120.0, 10.0),
      On(kTypeANotch, A, 48, 0.0, 180.0, 10.0), On(kTypeANotch, A, 48, 0.0, 240.0, 10.0), OffPeak(22000.0, 1.0),
      OffPeak(22000.0, 1.0), OffPeak(22000.0, 1.0), OffPeak(22000.0, 1.0), OffPeak(22000.0, 1.0),
      OffPeak(22000.0, 1.0), OffPeak(22000.0, 1.0)}},

    {"Track:Kick",
     kOSOff,
     kZeroLatency,
     {On(kTypeALowCut, A, 24, 0.0, 15.1, 0.7), On(kTypeAPeak, A, 6, 6.0, 70.0, 0.91),
      On(kTypeANotch, A, 12, -30.0, 230.0, 1.0), On(kTypeAPeak, A, 6, 7.0, 2400.0, 1.0),
      On(kTypeAHighShelf, A, 6, -8.0, 3700.0, 0.5), OffPeak(22000.0, 0.7), OffPeak(22000.0, 0.7),
      OffPeak(22000.0, 0.7), OffPeak(22000.0, 0.7), OffPeak(22000.0, 0.7), OffPeak(22000.0, 0.7),
      OffPeak(22000.0, 0.7)}},

    {"Track:A-Weighting",
     kOSOff,
     kZeroLatency,
     {On(kTypeALowCut, A, 12, 0.0, 280.0, 0.26), On(kTypeALowCut, A, 12, 0.0, 30.0, 0.43),
      On(kTypeAHighCut, A, 12, -1.9, 11798.0, 0.4), OffPeak(100.0, 0.7), OffPeak(250.0, 0.7), OffPeak(500.0, 0.7),
      OffPeak(1000.0, 0.7), OffPeak(2000.0, 0.7), OffPeak(4000.0, 0.7), OffPeak(8000.0, 0.7), OffPeak(14000.0, 0.7),
      OffPeak(18000.0, 0.7)}},

    {"Track:Stereo Panning",
     kOSOff,
     kZeroLatency,
     {On(kTypeAPeak, L, 6, 12.0, 100.0, 3.0), On(kTypeAPeak, R, 6, 12.0, 150.0, 3.0),
      On(kTypeAPeak, L, 6, 12.0, 225.0, 3.0), On(kTypeAPeak, R, 6, 12.0, 338.0, 3.0),
      On(kTypeAPeak, L, 6, 12.0, 506.0, 3.0), On(kTypeAPeak, R, 6, 12.0, 760.0, 3.0),
      On(kTypeAPeak, L, 6, 12.0, 1140.0, 3.0), On(kTypeAPeak, R, 6, 12.0, 1700.0, 3.0),
      On(kTypeAPeak, L, 6, 12.0, 2560.0, 3.0), On(kTypeAPeak, R, 6, 12.0, 3840.0, 3.0),
      On(kTypeAPeak, L, 6, 12.0, 5760.0, 3.0), On(kTypeAPeak, A, 6, -8.0, 720.0, 0.06)}},

    {"Track:IDM Blocker SR@96kHz",
     kOSOff,
     kLinearPhaseEco,
     {OffPeak(10.0, 0.7), OffPeak(10.0, 0.7), OffPeak(10.0, 0.7), OffPeak(10.0, 0.7),
      On(kTypeDHighCut, A, 96, 0.0, 21000.0, 0.7), OffPeak(48000.0, 0.7), OffPeak(48000.0, 0.7),
      OffPeak(48000.0, 0.7), OffPeak(48000.0, 0.7), OffPeak(48000.0, 0.7), OffPeak(48000.0, 0.7),
      OffPeak(48000.0, 0.7)}},

    {"Track:Vocal",
     kOSOff,
     kZeroLatency,
     {On(kTypeALowCut, A, 12, 0.0, 30.0, 0.98), On(kTypeALowShelf, A, 6, -3.0, 60.0, 0.4), OffPeak(80.0, 0.7),
      OffPeak(100.0, 0.7), OffPeak(250.0, 0.7), OffPeak(500.0, 0.7), OffPeak(1000.0, 0.7), OffPeak(2000.0, 0.7),
      On(kTypeAPeak, A, 6, 1.0, 6500.0, 0.7), On(kTypeAHighShelf, A, 6, 2.5, 8000.0, 0.41), OffPeak(14000.0, 0.7),
      OffPeak(18000.0, 0.7)}},

    {"Track:Drums",
     kOSOff,
     kZeroLatency,
     {On(kTypeALowCut, A, 24, 0.0, 20.0, 0.79), On(kTypeALowShelf, A, 6, -1.0, 50.0, 0.21), OffPeak(80.0, 0.7),
      On(kTypeAPeak, A, 6, 2.0, 100.0, 0.7), OffPeak(250.0, 0.7), OffPeak(500.0, 0.7), OffPeak(1000.0, 0.7),
      OffPeak(2000.0, 0.7), On(kTypeAPeak, A, 6, 2.6, 5000.0, 0.7), On(kTypeAHighShelf, A, 6, 1.0, 10000.0, 0.91),
      On(kTypeAHighCut, A, 6, 0.0, 18082.5, 0.7), OffPeak(30000.0, 0.7)}},

    {"Track:Stereo Enhancer",
     kOSOff,
     kZeroLatency,
     {OffPeak(30.0, 0.7), On(kTypeAPeak, L, 6, 1.5, 44.0, 0.7), On(kTypeAPeak, R, 6, 1.5, 70.0, 0.7),
      OffPeak(100.0, 0.7), OffPeak(250.0, 0.7), OffPeak(500.0, 0.7), OffPeak(1000.0, 0.7), OffPeak(2000.0, 0.7),
      On(kTypeAPeak, R, 6, 1.7, 6500.0, 0.7), On(kTypeAPeak, L, 6, 1.7, 10000.0, 0.7), OffPeak(14000.0, 0.7),
      OffPeak(18000.0, 0.7)}},
};

std::vector<IParamValue> FactoryPresetValues(const FactoryPreset& preset) {
  std::vector<IParamValue> values;
  values.reserve(kFactoryPresetValueCount);
  values.emplace_back(kParamOSMode, preset.osMode);
  values.emplace_back(kParamFilterMode, preset.filterMode);
  for (int b = 0; b < kNumBands; ++b) {
    const FactoryBand& band = preset.bands[b];
    values.emplace_back(BandParamIndex(b, kBandActive), band.active);
    values.emplace_back(BandParamIndex(b, kBandType), band.type);
    values.emplace_back(BandParamIndex(b, kBandChMode), band.chMode);
    values.emplace_back(BandParamIndex(b, kBandSlope), band.slope);
    values.emplace_back(BandParamIndex(b, kBandGain), band.gainDb);
    values.emplace_back(BandParamIndex(b, kBandFreq), band.freqHz);
    values.emplace_back(BandParamIndex(b, kBandQ), band.q);
  }
  return values;
}
