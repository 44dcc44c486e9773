#pragma once

// Receives the input and the output level meters' samples. Mono blocks
// pass 0.0 as the right sample (a null right channel in the block call).
// Called on the audio thread: implementations must not allocate or lock.
class MeterHook {
 public:
  virtual ~MeterHook() = default;

  // The input as late as the output: the engine delays it by its latency.
  virtual void ProcessInputMeter(double left, double right) = 0;
  // The output after the output gain.
  virtual void ProcessOutputMeter(double left, double right) = 0;

  // A block of both at once, which the engine hands over at the end of its
  // block: what the frame calls over the inputs, then over the outputs, do.
  // An implementation may interleave the two, as they share nothing.
  virtual void ProcessMeterBlocks(const double* inLeft, const double* inRight, const double* outLeft,
                                  const double* outRight, int n) {
    for (int i = 0; i < n; ++i) ProcessInputMeter(inLeft[i], inRight ? inRight[i] : 0.0);
    for (int i = 0; i < n; ++i) ProcessOutputMeter(outLeft[i], outRight ? outRight[i] : 0.0);
  }
};
