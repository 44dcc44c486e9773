#pragma once

// The automatic loudness match: a gain per frame that brings the filtered
// output back to the input's loudness. inL and inR are the undelayed host
// inputs, outL and outR the filtered output before the gain; the right
// samples are 0.0 unless input and output are both stereo (null right
// channels in the block call). Called on the audio thread: implementations
// must not allocate or lock.
class LoudnessHook {
 public:
  virtual ~LoudnessHook() = default;

  virtual double GetLoudnessMatchGain(double inL, double inR, double outL, double outR) = 0;

  // The gains of n frames, as n calls of GetLoudnessMatchGain would give
  // them. False when every gain is 1 and gains was left alone: there is
  // nothing to apply.
  virtual bool GetLoudnessMatchGains(const double* inL, const double* inR, const double* outL, const double* outR,
                                     double* gains, int n) {
    for (int i = 0; i < n; ++i) {
      gains[i] = GetLoudnessMatchGain(inL[i], inR ? inR[i] : 0.0, outL[i], outR ? outR[i] : 0.0);
    }
    return true;
  }
};
