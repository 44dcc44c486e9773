#pragma once

// Receives the input and the output level meters' samples. Mono blocks
// pass 0.0 as the right sample (a null right channel in the block calls).
// Called on the audio thread: implementations must not allocate or lock.
//
// The engine hands over whole blocks; the per-frame calls are what a block
// amounts to, and the block calls' defaults make them of the frame calls.
class MeterHook {
 public:
  virtual ~MeterHook() = default;

  // The input as late as the output: the engine delays it by its latency.
  virtual void ProcessInputMeter(double left, double right) = 0;
  // The output after the output gain.
  virtual void ProcessOutputMeter(double left, double right) = 0;

  virtual void ProcessInputMeterBlock(const double* left, const double* right, int n) {
    for (int i = 0; i < n; ++i) ProcessInputMeter(left[i], right ? right[i] : 0.0);
  }
  virtual void ProcessOutputMeterBlock(const double* left, const double* right, int n) {
    for (int i = 0; i < n; ++i) ProcessOutputMeter(left[i], right ? right[i] : 0.0);
  }
};
