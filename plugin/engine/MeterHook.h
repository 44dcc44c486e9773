#pragma once

// Receives one frame at a time for the input and the output level meters.
// Mono blocks pass 0.0 as the right sample. Called on the audio thread:
// implementations must not allocate or lock.
class MeterHook {
 public:
  virtual ~MeterHook() = default;

  // The input as late as the output: the engine delays it by its latency.
  virtual void ProcessInputMeter(double left, double right) = 0;
  // The output after the output gain.
  virtual void ProcessOutputMeter(double left, double right) = 0;
};
