#pragma once

#include "framework/containers/WDL_TypedBuf.h"

// One or two channels of impulse response handed to ConvolutionEngine::SetImpulse.
class ImpulseBuffer {
 public:
  static constexpr int kMaxChannels = 2;

  ImpulseBuffer();

  // Resizes every channel in use to n samples; samples added at the end are
  // 0.0, existing ones keep their values. Returns channel 0's length, or 0
  // after a failed resize, which releases both channels.
  int SetLength(int n);
  // Clamped to 1..2. New channels take channel 0's length and a copy of the
  // old channels in turn from channel 0; dropped channels are emptied.
  void SetNumChannels(int n);

  int GetNumChannels() const { return nch; }
  // 0 for a channel that is out of range.
  int GetLength(int channel = 0) const;
  // Null for a channel that is out of range or empty.
  double* GetSamples(int channel);
  const double* GetSamples(int channel) const;

  // Carried with the impulse; the engine does not use it.
  double samplerate = 44100.0;

 private:
  bool ResizeChannel(int channel, int n);
  void ReleaseAll();

  WDL_TypedBuf<double> samples[kMaxChannels];  // granularity 4096 bytes
  int nch = 1;
};
