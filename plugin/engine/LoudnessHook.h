#pragma once

// The automatic loudness match: a gain per frame that brings the filtered
// output back to the input's loudness. inL and inR are the undelayed host
// inputs, outL and outR the filtered output before the gain; the right
// samples are 0.0 unless input and output are both stereo. Called on the
// audio thread: implementations must not allocate or lock.
class LoudnessHook {
 public:
  virtual ~LoudnessHook() = default;

  virtual double GetLoudnessMatchGain(double inL, double inR, double outL, double outR) = 0;
};
