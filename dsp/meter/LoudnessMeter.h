#pragma once

#include "dsp/meter/BlockAccumulator.h"
#include "dsp/meter/KWeightingSection.h"
#include "dsp/meter/MeterDelayRing.h"

#include <cstdint>

// Measures a stereo signal one sample pair at a time and keeps a ballistic
// envelope of the chosen measure: sample peak, RMS over a window, loudness
// after ITU-R BS.1770 K-weighting over a sliding window with a 0.1 s hop,
// or a VU-style two-stage smoother. Readers take `current` (the envelope),
// `maximumOut` and `minimumOut`, and apply `offsetFactor` themselves.
enum LoudnessMeterKind {
  kMeterMeanSquare = 0,  // RMS of both channels' summed power
  kMeterRms = 1,         // RMS of the channel mean (or of one channel, copied)
  kMeterEbuMomentary = 2,
  kMeterEbuShortTerm = 3,
  kMeterVu = 4,
  kMeterPeak = 6,
};

enum LoudnessMeterBallistics {
  kMeterFollowing = 0,
  kMeterHolding = 1,
  kMeterReleasing = 2,
};

struct LoudnessMeter {
  double attackCoeff = 0.0;
  double releaseCoeff = 0.0;
  int32_t holdSamples = 0;
  int32_t holdCounter = 0;
  int32_t ballisticState = kMeterFollowing;

  double envelope = 0.0;
  double maximum = 0.0;
  double minimum = 0.0;
  double current = 0.0;
  double maximumOut = 0.0;
  double minimumOut = 0.0;
  double samplePeak = 0.0;  // largest absolute input sample since set-up

  // Left pre-filter, left high-pass, right pre-filter, right high-pass.
  KWeightingSection kWeighting[4] = {};

  BlockAccumulator accumulator;

  // VU smoother.
  double s1 = 0.0;
  double s2 = 0.0;
  double vuOutput = 0.0;
  double vuMaximum = 0.0;
  double vuPeak = 0.0;
  double vuCoeff = 0.0;
  double vuScale = 2.356194490192345;  // 3 pi / 4: a sine's rectified mean back to its peak
  double vuFactor = 1.0;
  double vuDbScale = 8.685889638065037;

  int32_t kind = kMeterMeanSquare;
  double levelDivisor = 8.685889638065037;  // 20 / ln 10
  double offsetFactor = 1.0;  // 10^(-offset/20), 0 for offsets of 144 dB or more
  double offsetDb = 0.0;

  MeterDelayRing delayLeft;
  MeterDelayRing delayRight;

  // Window 0, attack 0.3 s, hold 0, release 0.3 s, offset 0, 44.1 kHz, kind 0.
  LoudnessMeter();

  // Rebuilds the whole record and clears all history. Window, attack, hold
  // and release in seconds; offset in dB; delay in ms (clamped to 0..1 s).
  // An attack or release of 0 gives a coefficient of 0 (an instant follower)
  // through IEEE infinity.
  void InitMeter(double windowSeconds, double attackSeconds, double holdSeconds,
                 double releaseSeconds, double offsetDbIn, double sampleRate, int32_t kindIn,
                 double delayMs);

  // One sample pair. select: 0 both channels, 1 or 3 left only, 2 or 4 right
  // only (the other channel is zeroed, or for RMS and VU copied).
  void ProcessMeter(double left, double right, int32_t select);
};
