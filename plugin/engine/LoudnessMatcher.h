#pragma once

#include "plugin/engine/DelayRing.h"

// Holds the processed output at the loudness of the unprocessed input: two
// smoothed energy envelopes (input and output) and their level difference,
// limited to +-12 dB, as a gain for the output.
//
// The output is late by the plug-in's latency, so the input energy runs
// through a delay ring of that length before it is compared; the output
// energy is not delayed. The ring is fed while the match is off too, so
// that turning it on finds the input the output is playing.
class LoudnessMatcher {
 public:
  // The level difference is scaled by this instead of 20 / ln 10
  // (8.685889638065037): the stored sessions and the sound users know were
  // made with it, so it stays.
  static constexpr double kLevelScale = 8.656170245333781;
  static constexpr double kMaxGainDb = 12.0;

  enum Mode { kModeOff = 0, kModeFast = 1, kModeSlow = 2 };

  // Grows the delay ring so that later set-ups with delays up to
  // maxDelaySamples never allocate. May allocate; a growth clears the ring.
  void ReserveDelay(int maxDelaySamples);

  // mode: 0 off, 1 fast (0.6 s), 2 slow (3 s), anything else 0.3 s.
  // delaySamples: the latency of the output behind the input (0 or less:
  // none). Clears both envelopes. The ring keeps the input it holds when
  // the delay and the rate stay as they are (the signal runs on under a
  // new mode, or the same set-up again); a new delay or rate empties it.
  // Allocates only when the delay is longer than the ring has ever been;
  // otherwise it costs at most one clear of the ring, so callers may run it
  // after every latency or rate change.
  void SetLoudnessMatchMode(int mode, int delaySamples, double sampleRate);

  // The gain for one frame (mono callers pass 0 for the right channels).
  // Off: 1, and only the input's delay ring moves on. Both envelopes
  // silent: 0.
  double GetLoudnessMatchGain(double inL, double inR, double outL, double outR);
  // n frames (null right channels read as 0): the gains n calls would give.
  // Off: false, gains is left alone (every gain would be 1), and only the
  // input's delay ring moves on.
  bool GetLoudnessMatchGains(const double* inL, const double* inR, const double* outL, const double* outR,
                             double* gains, int n);

  int GetMode() const { return mMode; }

  // Envelopes and peaks are energies (sums of squares), not levels.
  double GetInputEnvelope() const { return mInput.envelope; }
  double GetOutputEnvelope() const { return mOutput.envelope; }
  double GetInputPeak() const { return mInput.peak; }
  double GetOutputPeak() const { return mOutput.peak; }
  int GetDelayLength() const { return mInputDelay.GetLength(); }
  int GetDelayCapacity() const { return mInputDelay.GetCapacity(); }

 private:
  struct Envelope {
    double rise = 0.0;
    double fall = 0.0;
    double envelope = 0.0;
    double peak = 0.0;

    // Returns ln of the envelope's amplitude (-inf when silent).
    double Follow(double energy);
  };

  // Off: the input energies go into the delay ring, nothing else moves.
  void KeepInputHistory(const double* inL, const double* inR, int n);

  Envelope mInput;
  Envelope mOutput;
  DelayRing mInputDelay;
  int mMode = kModeOff;
  double mSampleRate = 0.0;  // of the ring's contents
};
