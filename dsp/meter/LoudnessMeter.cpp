#include "dsp/meter/LoudnessMeter.h"

#include <algorithm>
#include <cmath>

#include "dsp/Levels.h"

LoudnessMeter::LoudnessMeter() { InitMeter(0.0, 0.3, 0.0, 0.3, 0.0, 44100.0, 0, 0.0); }

void LoudnessMeter::InitMeter(double windowSeconds, double attackSeconds, double holdSeconds,
                              double releaseSeconds, double offsetDbIn, double fs, int32_t kindIn,
                              double delayMs) {
  kind = kindIn;

  accumulator.windowSeconds = 0.4;
  accumulator.hopOverlap = 0.75;
  accumulator.halveSum = 0;
  accumulator.Reset(std::max(1, static_cast<int32_t>(0.4 * fs)));
  // 27.318... = 2 pi / 0.23.
  vuCoeff = (1.0 - std::exp(-27.31819698773733 / fs)) / 2.0;
  vuScale = 2.356194490192345;
  vuFactor = 1.0;
  s1 = s2 = vuOutput = vuMaximum = vuPeak = 0.0;
  attackCoeff = releaseCoeff = 0.0;

  const int32_t n = std::max(1, static_cast<int32_t>(windowSeconds * fs));
  switch (kind) {
    case kMeterMeanSquare:
    case kMeterRms:
      attackCoeff = Levels::TimeConstantCoefficient(attackSeconds, fs);
      releaseCoeff = Levels::TimeConstantCoefficient(releaseSeconds, fs);
      accumulator.windowSeconds = windowSeconds;
      accumulator.hopOverlap = 1.0;
      accumulator.halveSum = kind == kMeterRms ? 1 : 0;
      accumulator.Reset(n);
      break;
    case kMeterEbuMomentary:
    case kMeterEbuShortTerm:
      accumulator.windowSeconds = windowSeconds;
      // A hop of 0.1 s.
      accumulator.hopOverlap = 1.0 - 100.0 / (1000.0 * windowSeconds);
      accumulator.halveSum = 0;
      accumulator.Reset(n);
      break;
    case kMeterVu:
      vuCoeff = (1.0 - std::exp(-2.0 * 3.14159265358979323846 / windowSeconds / fs)) / 2.0;
      s1 = s2 = vuOutput = vuMaximum = vuPeak = 0.0;
      break;
    case kMeterPeak:
      attackCoeff = Levels::TimeConstantCoefficient(attackSeconds, fs);
      releaseCoeff = Levels::TimeConstantCoefficient(releaseSeconds, fs);
      break;
    default:
      break;
  }

  holdSamples = static_cast<int32_t>(holdSeconds * fs);

  kWeighting[0].DesignPreFilter(fs);
  kWeighting[1].DesignHighPass(fs);
  kWeighting[2].DesignPreFilter(fs);
  kWeighting[3].DesignHighPass(fs);

  offsetFactor = offsetDbIn < 144.0 ? std::exp(offsetDbIn * -Levels::kDbToLog) : 0.0;
  offsetDb = -offsetDbIn;

  const int32_t capacity = static_cast<int32_t>(fs);
  // A negative delay means none; past one second the ring limits it anyway.
  const double ms = std::min(std::max(0.0, delayMs), 1000.0);
  const int32_t delay = static_cast<int32_t>(ms / 1000.0 * fs);
  delayLeft.Init(capacity, delay);
  delayRight.Init(capacity, delay);

  envelope = maximum = minimum = current = maximumOut = minimumOut = samplePeak = 0.0;
  ballisticState = kMeterFollowing;
  holdCounter = 0;
}

void LoudnessMeter::ProcessMeter(double left, double right, int32_t select) {
  left = delayLeft.Push(left);
  right = delayRight.Push(right);
  samplePeak = std::max(samplePeak, std::max(std::fabs(left), std::fabs(right)));

  const bool leftOnly = select == 1 || select == 3;
  const bool rightOnly = select == 2 || select == 4;
  // Zeroing measures the selected channel alone; copying (RMS, VU) measures
  // it as if both channels carried it.
  auto zeroing = [&] {
    if (leftOnly) right = 0.0;
    if (rightOnly) left = 0.0;
  };
  auto copying = [&] {
    if (leftOnly) right = left;
    if (rightOnly) left = right;
  };

  double v = 0.0;
  switch (kind) {
    case kMeterMeanSquare:
      zeroing();
      accumulator.AccumulateBlock(left, right);
      v = std::sqrt(accumulator.meanSquare);
      break;
    case kMeterRms:
      copying();
      accumulator.AccumulateBlock(left, right);
      v = std::sqrt(accumulator.meanSquare);
      break;
    case kMeterEbuMomentary:
    case kMeterEbuShortTerm:
      zeroing();
      left = kWeighting[1].Process(kWeighting[0].Process(left));
      right = kWeighting[3].Process(kWeighting[2].Process(right));
      accumulator.AccumulateBlock(left, right);
      // 10 log10 of the mean square; a silent window gives -infinity and v 0.
      accumulator.loudness = 4.342944819 * std::log(accumulator.meanSquare) - 0.691;
      v = std::exp(accumulator.loudness / levelDivisor);
      break;
    case kMeterVu: {
      copying();
      const double l = std::fabs(left);
      const double r = std::fabs(right);
      vuPeak = std::max(vuPeak, std::max(l, r));
      const double x = (l + r) / 2.0 + 1e-15;
      const double t = x - s2 / 2.01;
      const double s1n = s1 + vuCoeff * (t - s1);
      double out = s2 + vuCoeff * (s1n - s2);
      s1 = std::max(s1n, 0.0);
      out = std::max(out, 0.0);
      s2 = out;
      vuOutput = out;
      vuMaximum = std::max(vuMaximum, out);
      v = out * vuScale * vuFactor;
      break;
    }
    case kMeterPeak:
      zeroing();
      v = std::fabs(left) < std::fabs(right) ? std::fabs(right) : std::fabs(left);
      break;
    default:
      // Kinds 5, 7 and anything else measure nothing.
      v = 0.0;
      break;
  }

  if (v > envelope) {
    envelope = (envelope - v) * attackCoeff + v;
    ballisticState = kMeterFollowing;
  } else {
    if (ballisticState == kMeterFollowing) {
      holdCounter = 0;
      ballisticState = kMeterHolding;
    }
    if (ballisticState == kMeterHolding) {
      const int32_t c = holdCounter;
      holdCounter = c + 1;
      if (c >= holdSamples) ballisticState = kMeterReleasing;
    }
    if (ballisticState == kMeterReleasing) envelope = (envelope - v) * releaseCoeff + v;
  }

  if (envelope > maximum) minimum = maximum;
  maximum = std::max(maximum, envelope);
  minimum = std::min(minimum, envelope);
  current = envelope;
  maximumOut = maximum;
  minimumOut = minimum;
}
