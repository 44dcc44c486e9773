#pragma once

#include <atomic>
#include <cstdint>

#include "dsp/meter/LoudnessMeter.h"
#include "plugin/engine/ClipLamp.h"

class IGraphics;

// The editor's two level meters with their clip lamps. "Main Meter Mode"
// chooses the measure, "Main Meter Channel Mode" what each meter sees: the
// input against the output, or the two channels (or mid and side) of one of
// them. The block path calls ProcessMeterBlocks (or the per-frame calls)
// under the plug mutex; the GUI reads the values published at the end of
// each call and FormatMeterValue without a lock, so a reading may mix two
// blocks.
class Meters {
 public:
  enum MeterMode : int32_t {
    kModePeak = 0,
    kModeRms = 1,
    kModeEbuMomentary = 2,
    kModeEbuShortTerm = 3,
    kModeVu = 4,
  };
  enum ChannelMode : int32_t {
    kInOut = 0,
    kInLeftRight = 1,
    kOutLeftRight = 2,
    kInMidSide = 3,
    kOutMidSide = 4,
    kMetersOff = 5,
  };

  // 20 / ln 10: a natural logarithm of an amplitude in dB.
  static constexpr double kMeterDbScale = 8.685889638065037;

  // Editor control indices of one meter; -1 (or any index outside the
  // control list) means no control.
  struct ControlIndices {
    int bar = -1;
    int heldPeak = -1;
    int text = -1;
    int clipLamp = -1;
  };

  // What the GUI reads of one meter.
  struct Reading {
    double current;       // the meter's envelope
    double maximumOut;    // its largest envelope since the last set-up
    double offsetFactor;  // applied by readers: 10^(-offset/20)
    double clipLamp;      // 0..1
  };

  Meters();
  Meters(const Meters&) = delete;
  Meters& operator=(const Meters&) = delete;

  // Sets one meter up for a "Main Meter Mode" (Peak for anything outside
  // 1..4) and clears its history. There is no delay argument: the meters
  // are never delayed inside; the block path delays their input instead.
  static void SetMeterMode(LoudnessMeter* meter, int mode, double sampleRate);

  // Both meters, for set-up, reset and the meter and OS mode changes. The
  // lamps keep their values.
  void SetMeterMode(int mode, double sampleRate);
  void SetChannelMode(int channelMode);
  // Lamp coefficients and hold at a rate; values and states stay.
  void SetClipLampTiming(double sampleRate);
  // Both lamps dark and idle.
  void ClearClipLamps();
  // The readout resets: both meters' levels, maxima and histories cleared
  // in the current mode. The lamps are left to fade on their own.
  void ResetMeters();

  // Per frame from the block path: the delayed input pair, and the final
  // output pair (0.0 for a missing right channel).
  void ProcessInputMeter(double left, double right);
  void ProcessOutputMeter(double left, double right);
  // n frames of both pairs, as n input calls and n output calls would meter
  // them; a right channel may be null (0.0 in every frame). The two meters
  // are stepped in turn, frame by frame, so that their recursions overlap.
  void ProcessMeterBlocks(const double* inLeft, const double* inRight, const double* outLeft,
                          const double* outRight, int n);

  // GUI thread, no lock.
  Reading InputReading() const { return Read(mInputShown, mInputClipLamp); }
  Reading OutputReading() const { return Read(mOutputShown, mOutputClipLamp); }

  // Pushes both meters into their controls: the bar from the current
  // level, the held marker and the text from the maximum since the last
  // reset, the lamp value. From the GUI idle hook when a refresh is due.
  void FormatMeterValue(IGraphics* graphics, const ControlIndices& input,
                        const ControlIndices& output) const;
  // The readout text a meter's text control shows: the largest level since
  // the last reset in dB with one decimal, or "-inf". For readers that have
  // no editor controls (the command-line host).
  static void FormatMeterText(const Reading& reading, char* buf, int bufSize);

  int MeterModeValue() const { return mMeterMode; }
  int ChannelModeValue() const { return mChannelMode; }
  double SampleRate() const { return mSampleRate; }

  // Audio-side state, for set-up code and tests (not for the GUI).
  const LoudnessMeter& InputMeter() const { return mInputMeter; }
  const LoudnessMeter& OutputMeter() const { return mOutputMeter; }
  const ClipLamp& InputClipLamp() const { return mInputClipLamp; }
  const ClipLamp& OutputClipLamp() const { return mOutputClipLamp; }

 private:
  // The meter fields the GUI reads, copied after every audio-thread step.
  struct Shown {
    std::atomic<double> current{0.0};
    std::atomic<double> maximumOut{0.0};
    std::atomic<double> offsetFactor{1.0};
  };

  void Route(double left, double right, bool input);
  static void Feed(LoudnessMeter& meter, ClipLamp& lamp, Shown& shown, double left, double right,
                   int32_t select);
  static void Publish(const LoudnessMeter& meter, Shown& shown);
  static Reading Read(const Shown& shown, const ClipLamp& lamp);
  static void FormatOne(IGraphics* graphics, const Reading& reading, const ControlIndices& controls);

  LoudnessMeter mInputMeter;
  LoudnessMeter mOutputMeter;
  ClipLamp mInputClipLamp;
  ClipLamp mOutputClipLamp;
  Shown mInputShown;
  Shown mOutputShown;
  int32_t mMeterMode = kModePeak;
  int32_t mChannelMode = kInOut;
  double mSampleRate = 44100.0;
};
