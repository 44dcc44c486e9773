#include "plugin/engine/Meters.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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
// without a delay) with its state in locals for a block, so that the
// recursion does not wait on stores the compiler must assume alias the input.
struct PeakRun {
  double envelope, maximum, minimum, samplePeak;
  double attack, release, offsetFactor;
  int32_t holdSamples, holdCounter, state;
  bool leftOnly, rightOnly;

  PeakRun(const LoudnessMeter& m, int32_t select)
      : envelope(m.envelope),
        maximum(m.maximum),
        minimum(m.minimum),
        samplePeak(m.samplePeak),
        attack(m.attackCoeff),
        release(m.releaseCoeff),
        offsetFactor(m.offsetFactor),
        holdSamples(m.holdSamples),
        holdCounter(m.holdCounter),
        state(m.ballisticState),
        leftOnly(select == 1 || select == 3),
        rightOnly(select == 2 || select == 4) {}

  void Store(LoudnessMeter& m) const {
    m.envelope = envelope;
    m.maximum = maximum;
    m.minimum = minimum;
    m.samplePeak = samplePeak;
    m.holdCounter = holdCounter;
    m.ballisticState = state;
    m.current = envelope;
    m.maximumOut = maximum;
    m.minimumOut = minimum;
  }

  // One frame; whether the lamp sees the reading over full scale.
  // kBoth: both channels selected.
  template <bool kBoth>
  bool Step(double left, double right) {
    samplePeak = std::max(samplePeak, std::max(std::fabs(left), std::fabs(right)));
    if (!kBoth && leftOnly) right = 0.0;
    if (!kBoth && rightOnly) left = 0.0;
    const double v = std::fabs(left) < std::fabs(right) ? std::fabs(right) : std::fabs(left);
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
    if (envelope > maximum) minimum = maximum;
    maximum = std::max(maximum, envelope);
    minimum = std::min(minimum, envelope);
    return envelope * offsetFactor > 1.0;
  }
};

bool RunsAsPeak(const LoudnessMeter& m) {
  return m.kind == kMeterPeak && m.delayLeft.length == 0 && m.delayRight.length == 0;
}

inline void Frame(const MeterSource& source, int i, double& l, double& r) {
  l = source.left[i];
  r = source.right ? source.right[i] : 0.0;
  if (source.midSide) {
    const double mid = (l + r) * 0.5;
    const double side = (l - r) * 0.5;
    l = mid;
    r = side;
  }
}

// Both peak meters over a block, frame by frame in turn as FeedFrame would
// step them, and then their lamps over the readings. kPlain: both take
// their pair as it is, both channels there and selected.
template <bool kPlain>
void PeakBlocks(LoudnessMeter& firstMeter, ClipLamp& firstLamp, const MeterSource& first, LoudnessMeter& secondMeter,
                ClipLamp& secondLamp, const MeterSource& second, int n) {
  constexpr int kChunk = 256;
  unsigned char firstClips[kChunk], secondClips[kChunk];
  PeakRun a(firstMeter, first.select), b(secondMeter, second.select);
  for (int offset = 0; offset < n; offset += kChunk) {
    const int count = std::min(kChunk, n - offset);
    unsigned char clipped = 0;
    for (int k = 0; k < count; ++k) {
      double l, r;
      if (kPlain) {
        l = first.left[offset + k];
        r = first.right[offset + k];
      } else {
        Frame(first, offset + k, l, r);
      }
      firstClips[k] = a.Step<kPlain>(l, r);
      if (kPlain) {
        l = second.left[offset + k];
        r = second.right[offset + k];
      } else {
        Frame(second, offset + k, l, r);
      }
      secondClips[k] = b.Step<kPlain>(l, r);
      clipped |= firstClips[k] | secondClips[k];
    }
    // A dark, idle lamp that sees no clipping stays as it is.
    if (clipped || !firstLamp.IsIdle()) firstLamp.AdvanceBlock(firstClips, count);
    if (clipped || !secondLamp.IsIdle()) secondLamp.AdvanceBlock(secondClips, count);
  }
  a.Store(firstMeter);
  b.Store(secondMeter);
}

bool IsPlain(const MeterSource& source) { return source.right && !source.midSide && source.select == 0; }

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
    if (IsPlain(first) && IsPlain(second)) {
      PeakBlocks<true>(mInputMeter, mInputClipLamp, first, mOutputMeter, mOutputClipLamp, second, n);
    } else {
      PeakBlocks<false>(mInputMeter, mInputClipLamp, first, mOutputMeter, mOutputClipLamp, second, n);
    }
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
