#include "plugin/engine/Meters.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#define BRIMLOW_METERS_X86 1
#include <emmintrin.h>
#endif

#include "graphics/IGraphics.h"
#include "graphics/controls/ITextControlExt.h"

namespace {

// InitMeter arguments per "Main Meter Mode": seconds, and dB for the offset.
struct MeterSetup {
  int32_t kind;
  double windowSeconds, attackSeconds, holdSeconds, releaseSeconds, offsetDb;
};

constexpr MeterSetup kMeterSetups[] = {
    {kMeterPeak, 0.0, 0.0, 0.1, 0.3, 0.0},
    // A sine's RMS is 3 dB under its peak; the offset lifts it to read as
    // the peak meter does.
    {kMeterRms, 0.6, 0.0, 0.0, 0.0, -3.0},
    {kMeterEbuMomentary, 0.3, 0.0, 0.0, 0.0, 0.0},
    {kMeterEbuShortTerm, 3.0, 0.0, 0.0, 0.0, 0.0},
    // 0 VU at -18 dBFS.
    {kMeterVu, 0.27, 0.0, 0.0, 0.0, -18.0},
};

// The bar and the held marker span -60 dB to +12 dB.
constexpr double kBarFloorDb = -60.0;
constexpr double kBarRangeDb = 72.0;
constexpr double kBarTopDb = 12.0;

double LevelDb(double amplitude, double offsetFactor) {
  return std::log(amplitude * offsetFactor) * Meters::kMeterDbScale;
}

// max(-60, d) also turns ln 0 = -inf into the floor; a NaN reading (from
// NaN input) sits at the floor too instead of reaching the control.
double BarDb(double amplitude, double offsetFactor) {
  const double d = LevelDb(amplitude, offsetFactor);
  return d > kBarFloorDb ? d : kBarFloorDb;
}

bool IsControl(const IGraphics* graphics, int idx) { return idx >= 0 && idx < graphics->NControls(); }

}  // namespace

Meters::Meters() {
  SetClipLampTiming(mSampleRate);
  Publish(mInputMeter, mInputShown);
  Publish(mOutputMeter, mOutputShown);
}

void Meters::SetMeterMode(LoudnessMeter* meter, int mode, double sampleRate) {
  if (!meter) return;
  const MeterSetup& s = (mode >= 1 && mode <= 4) ? kMeterSetups[mode] : kMeterSetups[kModePeak];
  meter->InitMeter(s.windowSeconds, s.attackSeconds, s.holdSeconds, s.releaseSeconds, s.offsetDb,
                   sampleRate, s.kind, 0.0);
}

void Meters::SetMeterMode(int mode, double sampleRate) {
  mMeterMode = mode;
  mSampleRate = sampleRate;
  SetMeterMode(&mInputMeter, mode, sampleRate);
  SetMeterMode(&mOutputMeter, mode, sampleRate);
  Publish(mInputMeter, mInputShown);
  Publish(mOutputMeter, mOutputShown);
}

void Meters::SetChannelMode(int channelMode) { mChannelMode = channelMode; }

void Meters::SetClipLampTiming(double sampleRate) {
  mInputClipLamp.SetTiming(sampleRate);
  mOutputClipLamp.SetTiming(sampleRate);
}

void Meters::ClearClipLamps() {
  mInputClipLamp.Clear();
  mOutputClipLamp.Clear();
}

void Meters::ResetMeters() { SetMeterMode(mMeterMode, mSampleRate); }

void Meters::Feed(LoudnessMeter& meter, ClipLamp& lamp, Shown& shown, double left, double right,
                  int32_t select) {
  meter.ProcessMeter(left, right, select);
  lamp.Step(meter.current * meter.offsetFactor > 1.0);
  Publish(meter, shown);
}

void Meters::Publish(const LoudnessMeter& meter, Shown& shown) {
  shown.current.store(meter.current, std::memory_order_relaxed);
  shown.maximumOut.store(meter.maximumOut, std::memory_order_relaxed);
  shown.offsetFactor.store(meter.offsetFactor, std::memory_order_relaxed);
}

Meters::Reading Meters::Read(const Shown& shown, const ClipLamp& lamp) {
  return Reading{shown.current.load(std::memory_order_relaxed),
                 shown.maximumOut.load(std::memory_order_relaxed),
                 shown.offsetFactor.load(std::memory_order_relaxed), lamp.Value()};
}

// In In/Out mode each signal has its own meter. In a signal's channel
// modes the left meter (inputMeter) shows its first channel (left or mid)
// and the right meter its second, both of that one signal.
void Meters::Route(double left, double right, bool input) {
  if (mChannelMode == kInOut) {
    if (input) {
      Feed(mInputMeter, mInputClipLamp, mInputShown, left, right, 0);
    } else {
      Feed(mOutputMeter, mOutputClipLamp, mOutputShown, left, right, 0);
    }
  } else if (mChannelMode == (input ? kInLeftRight : kOutLeftRight)) {
    Feed(mInputMeter, mInputClipLamp, mInputShown, left, right, 1);
    Feed(mOutputMeter, mOutputClipLamp, mOutputShown, left, right, 2);
  } else if (mChannelMode == (input ? kInMidSide : kOutMidSide)) {
    const double mid = (left + right) * 0.5;
    const double side = (left - right) * 0.5;
    Feed(mInputMeter, mInputClipLamp, mInputShown, mid, side, 3);
    Feed(mOutputMeter, mOutputClipLamp, mOutputShown, mid, side, 4);
  }
}

void Meters::ProcessInputMeter(double left, double right) { Route(left, right, true); }

void Meters::ProcessOutputMeter(double left, double right) { Route(left, right, false); }

namespace {

// What one meter takes of a block: a pair, as it is or as mid and side.
struct MeterSource {
  const double* left;
  const double* right;  // null: 0.0
  bool midSide;
  int32_t select;
};

inline void FeedFrame(LoudnessMeter& meter, ClipLamp& lamp, const MeterSource& source, int i) {
  double l = source.left[i], r = source.right ? source.right[i] : 0.0;
  if (source.midSide) {
    const double mid = (l + r) * 0.5;
    const double side = (l - r) * 0.5;
    l = mid;
    r = side;
  }
  meter.ProcessMeter(l, r, source.select);
  lamp.Advance(meter.current * meter.offsetFactor > 1.0);
}

// The peak meter's step (LoudnessMeter::ProcessMeter of kind kMeterPeak
// without a delay) on readings formed ahead, with its state in locals for a
// block, so that the recursion does not wait on stores the compiler must
// assume alias the input.
struct PeakRun {
  double envelope, maximum, minimum;
  double attack, release, offsetFactor;
  int32_t holdSamples, holdCounter, state;

  explicit PeakRun(const LoudnessMeter& m)
      : envelope(m.envelope),
        maximum(m.maximum),
        minimum(m.minimum),
        attack(m.attackCoeff),
        release(m.releaseCoeff),
        offsetFactor(m.offsetFactor),
        holdSamples(m.holdSamples),
        holdCounter(m.holdCounter),
        state(m.ballisticState) {}

  void Store(LoudnessMeter& m) const {
    m.envelope = envelope;
    m.maximum = maximum;
    m.minimum = minimum;
    m.holdCounter = holdCounter;
    m.ballisticState = state;
    m.current = envelope;
    m.maximumOut = maximum;
    m.minimumOut = minimum;
  }

  // One frame of reading v (the selected channels' larger magnitude).
  void Step(double v) {
    if (v > envelope) {
      envelope = (envelope - v) * attack + v;
      state = kMeterFollowing;
    } else {
      if (state == kMeterFollowing) {
        holdCounter = 0;
        state = kMeterHolding;
      }
      if (state == kMeterHolding) {
        const int32_t c = holdCounter;
        holdCounter = c + 1;
        if (c >= holdSamples) state = kMeterReleasing;
      }
      if (state == kMeterReleasing) envelope = (envelope - v) * release + v;
    }
    Track();
  }

  void Track() {
    if (envelope > maximum) minimum = maximum;
    maximum = std::max(maximum, envelope);
    minimum = std::min(minimum, envelope);
  }

  bool Clips() const { return envelope * offsetFactor > 1.0; }

  // n frames of readings, each frame's lamp input into clips; whether any
  // clipped. A hold leaves the envelope, and so the maximum, the minimum and
  // the lamp input, as they are until a reading passes the envelope or the
  // hold ends: such a stretch is found by a scan and counted, not stepped.
  bool Run(const double* v, unsigned char* clips, int n) {
    unsigned char any = 0;
    int i = 0;
    while (i < n) {
      // !(e > max) and !(e < min): a step would leave the maximum and the
      // minimum alone (a NaN envelope too).
      if (state == kMeterHolding && holdCounter < holdSamples && !(envelope > maximum) &&
          !(envelope < minimum)) {
        const int quiet = FirstOver(v + i, std::min(n - i, holdSamples - holdCounter), envelope);
        if (quiet > 0) {
          const unsigned char clip = Clips();
          std::memset(clips + i, clip, static_cast<size_t>(quiet));
          any |= clip;
          holdCounter += quiet;
          i += quiet;
          continue;
        }
      } else if (state == kMeterReleasing) {
        // The release goes on until a reading passes the envelope.
        for (; i < n && !(v[i] > envelope); ++i) {
          envelope = (envelope - v[i]) * release + v[i];
          Track();
          any |= clips[i] = Clips();
        }
        if (i == n) break;
      }
      Step(v[i]);
      any |= clips[i] = Clips();
      ++i;
    }
    return any != 0;
  }

  // The first of n readings over e, or n.
  static int FirstOver(const double* v, int n, double e) {
    int i = 0;
#ifdef BRIMLOW_METERS_X86
    const __m128d ev = _mm_set1_pd(e);
    for (; i + 8 <= n; i += 8) {
      const __m128d a = _mm_or_pd(_mm_cmpgt_pd(_mm_loadu_pd(v + i), ev), _mm_cmpgt_pd(_mm_loadu_pd(v + i + 2), ev));
      const __m128d b =
          _mm_or_pd(_mm_cmpgt_pd(_mm_loadu_pd(v + i + 4), ev), _mm_cmpgt_pd(_mm_loadu_pd(v + i + 6), ev));
      if (_mm_movemask_pd(_mm_or_pd(a, b))) break;
    }
#endif
    for (; i < n; ++i) {
      if (v[i] > e) return i;
    }
    return n;
  }
};

// A meter's readings of frames [offset, offset + n) of its source, formed as
// LoudnessMeter::ProcessMeter forms them (mid and side, the unselected
// channel zeroed), and the largest magnitude of the pairs before selection.
// std::max(|l|, |r|) gives |l| when either is NaN, and a NaN never enters
// the sample peak, so the block's maximum ignoring NaN is what the frame
// steps would fold into it.
// kSelect: 0 both channels, 1 left only, 2 right only; the choices are
// template arguments so that the loop has none.
template <bool kMidSide, bool kRight, int kSelect>
double ReadingsOf(const double* left, const double* right, int n, double* v) {
  constexpr bool leftOnly = kSelect == 1, rightOnly = kSelect == 2;
  int i = 0;
  double peak = 0.0;
#ifdef BRIMLOW_METERS_X86
  const __m128d absMask = _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffffLL));
  const __m128d half = _mm_set1_pd(0.5), zero = _mm_setzero_pd();
  __m128d peaks = zero;
  for (; i + 2 <= n; i += 2) {
    __m128d l = _mm_loadu_pd(left + i);
    __m128d r = kRight ? _mm_loadu_pd(right + i) : zero;
    if (kMidSide) {
      const __m128d mid = _mm_mul_pd(_mm_add_pd(l, r), half);
      r = _mm_mul_pd(_mm_sub_pd(l, r), half);
      l = mid;
    }
    l = _mm_and_pd(l, absMask);
    r = _mm_and_pd(r, absMask);
    // maxpd gives its second operand unless the first is greater.
    const __m128d m = _mm_max_pd(r, l);
    peaks = _mm_max_pd(m, peaks);
    _mm_storeu_pd(v + i, leftOnly ? l : rightOnly ? _mm_max_pd(r, zero) : m);
  }
  peak = std::max(_mm_cvtsd_f64(peaks), _mm_cvtsd_f64(_mm_unpackhi_pd(peaks, peaks)));
#endif
  for (; i < n; ++i) {
    double l = left[i], r = kRight ? right[i] : 0.0;
    if (kMidSide) {
      const double mid = (l + r) * 0.5;
      r = (l - r) * 0.5;
      l = mid;
    }
    l = std::fabs(l);
    r = std::fabs(r);
    const double m = std::max(l, r);
    if (m > peak) peak = m;
    v[i] = leftOnly ? l : rightOnly ? (0.0 < r ? r : 0.0) : m;
  }
  return peak;
}

template <bool kMidSide, bool kRight>
double ReadingsOf(const MeterSource& s, const double* left, const double* right, int n, double* v) {
  switch (s.select) {
    case 1:
    case 3: return ReadingsOf<kMidSide, kRight, 1>(left, right, n, v);
    case 2:
    case 4: return ReadingsOf<kMidSide, kRight, 2>(left, right, n, v);
    default: return ReadingsOf<kMidSide, kRight, 0>(left, right, n, v);
  }
}

double Readings(const MeterSource& s, int offset, int n, double* v) {
  const double* left = s.left + offset;
  const double* right = s.right ? s.right + offset : nullptr;
  if (s.midSide) {
    return right ? ReadingsOf<true, true>(s, left, right, n, v) : ReadingsOf<true, false>(s, left, right, n, v);
  }
  return right ? ReadingsOf<false, true>(s, left, right, n, v) : ReadingsOf<false, false>(s, left, right, n, v);
}

bool RunsAsPeak(const LoudnessMeter& m) {
  return m.kind == kMeterPeak && m.delayLeft.length == 0 && m.delayRight.length == 0;
}

// Both peak meters over a block, a chunk at a time: the readings, then each
// meter's steps, then their lamps over the steps' lamp inputs.
void PeakBlocks(LoudnessMeter& firstMeter, ClipLamp& firstLamp, const MeterSource& first, LoudnessMeter& secondMeter,
                ClipLamp& secondLamp, const MeterSource& second, int n) {
  constexpr int kChunk = 256;
  double firstReadings[kChunk], secondReadings[kChunk];
  unsigned char firstClips[kChunk], secondClips[kChunk];
  PeakRun a(firstMeter), b(secondMeter);
  for (int offset = 0; offset < n; offset += kChunk) {
    const int count = std::min(kChunk, n - offset);
    // The sample peak never holds a NaN, so (peak < m) ? m : peak folds the
    // chunk's maximum in as the frames' steps would.
    const double firstPeak = Readings(first, offset, count, firstReadings);
    const double secondPeak = Readings(second, offset, count, secondReadings);
    if (firstMeter.samplePeak < firstPeak) firstMeter.samplePeak = firstPeak;
    if (secondMeter.samplePeak < secondPeak) secondMeter.samplePeak = secondPeak;
    const bool firstClipped = a.Run(firstReadings, firstClips, count);
    const bool secondClipped = b.Run(secondReadings, secondClips, count);
    const bool clipped = firstClipped || secondClipped;
    // A dark, idle lamp that sees no clipping stays as it is.
    if (clipped || !firstLamp.IsIdle()) firstLamp.AdvanceBlock(firstClips, count);
    if (clipped || !secondLamp.IsIdle()) secondLamp.AdvanceBlock(secondClips, count);
  }
  a.Store(firstMeter);
  b.Store(secondMeter);
}

}  // namespace

// Route for a block, both signals at once: each meter takes from the signal
// and in the form the channel mode gives it.
void Meters::ProcessMeterBlocks(const double* inLeft, const double* inRight, const double* outLeft,
                                const double* outRight, int n) {
  MeterSource first{}, second{};
  switch (mChannelMode) {
    case kInOut:
      first = {inLeft, inRight, false, 0};
      second = {outLeft, outRight, false, 0};
      break;
    case kInLeftRight:
    case kOutLeftRight: {
      const bool in = mChannelMode == kInLeftRight;
      first = {in ? inLeft : outLeft, in ? inRight : outRight, false, 1};
      second = {first.left, first.right, false, 2};
      break;
    }
    case kInMidSide:
    case kOutMidSide: {
      const bool in = mChannelMode == kInMidSide;
      first = {in ? inLeft : outLeft, in ? inRight : outRight, true, 3};
      second = {first.left, first.right, true, 4};
      break;
    }
    default: return;  // "Off", or a mode outside the list: no meter moves
  }
  if (n < 1) return;
  if (RunsAsPeak(mInputMeter) && RunsAsPeak(mOutputMeter)) {
    PeakBlocks(mInputMeter, mInputClipLamp, first, mOutputMeter, mOutputClipLamp, second, n);
  } else {
    for (int i = 0; i < n; ++i) {
      FeedFrame(mInputMeter, mInputClipLamp, first, i);
      FeedFrame(mOutputMeter, mOutputClipLamp, second, i);
    }
  }
  mInputClipLamp.Publish();
  mOutputClipLamp.Publish();
  Publish(mInputMeter, mInputShown);
  Publish(mOutputMeter, mOutputShown);
}

void Meters::FormatMeterValue(IGraphics* graphics, const ControlIndices& input,
                              const ControlIndices& output) const {
  if (!graphics) return;
  FormatOne(graphics, InputReading(), input);
  FormatOne(graphics, OutputReading(), output);
}

void Meters::FormatMeterText(const Reading& r, char* buf, int bufSize) {
  if (!buf || bufSize < 1) return;
  const double t = std::floor(LevelDb(r.maximumOut, r.offsetFactor) * 10.0 + 0.5) / 10.0;
  if (!(t > -144.0)) {
    std::snprintf(buf, static_cast<size_t>(bufSize), "%s", "-inf");
  } else {
    std::snprintf(buf, static_cast<size_t>(bufSize), "%.1f", t);
  }
}

void Meters::FormatOne(IGraphics* graphics, const Reading& r, const ControlIndices& controls) {
  // The bar moves with the current level; the marker and the text hold
  // the largest level since the last reset.
  const double barDb = BarDb(r.current, r.offsetFactor);
  if (IsControl(graphics, controls.bar)) {
    graphics->SetControlFromPlug(controls.bar, barDb < kBarTopDb ? (barDb - kBarFloorDb) / kBarRangeDb : 1.0);
  }
  const double heldDb = BarDb(r.maximumOut, r.offsetFactor);
  if (IsControl(graphics, controls.heldPeak)) {
    // The marker control runs from the top.
    graphics->SetControlFromPlug(controls.heldPeak,
                                 heldDb < kBarTopDb ? 1.0 - (heldDb - kBarFloorDb) / kBarRangeDb : 0.0);
  }
  if (IsControl(graphics, controls.text)) {
    if (auto* text = dynamic_cast<ITextControlExt*>(graphics->GetControl(controls.text))) {
      char buf[64];
      FormatMeterText(r, buf, sizeof buf);
      text->SetTextFromPlug(buf);
    }
  }
  if (IsControl(graphics, controls.clipLamp)) graphics->SetControlFromPlug(controls.clipLamp, r.clipLamp);
}
