#pragma once

// What the offline render drives: one host block at a time, and the
// latency the plug-in reports. The command-line host's session implements
// it around the plug-in object; tests put a plain delay behind it.
class BlockProcessor {
 public:
  virtual ~BlockProcessor() = default;
  // Planar channels; nFrames is at most the block size the processor was
  // set up for.
  virtual void ProcessBlock(float** inputs, float** outputs, int nFrames) = 0;
  // In samples at the host rate, as reported now.
  virtual int Latency() = 0;
};
