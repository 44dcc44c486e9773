#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "tools/BlockProcessor.h"

// Runs a stream through a BlockProcessor in host blocks of a fixed size (the
// last one shorter) and hands the output on, lined up with the input.
//
// A host compensates a plug-in's delay by the latency the plug-in reports,
// which this plug-in reports from its block call. With compensation the
// render first runs a pre-roll of silence: one block, which tells the
// latency, then more until the pre-roll covers the latency, in whole
// blocks so the input's blocks fall where they would without it. A
// plug-in that silences whole blocks while it starts up (the oversampling
// converters filling) has finished doing so before the input's first
// frame comes out. The pre-roll's output and then `latency` frames are
// dropped, and Finish feeds as many frames of silence, so the output has
// the input's length and its frame i answers input frame i. Without
// compensation there is no pre-roll: the output is the plug-in's own,
// start-up included, cut to the input's length.
class AlignedRender {
 public:
  // Receives planar doubles (the WAV writer's form). False stops the render.
  using Sink = std::function<bool(const double* const* channels, size_t frames)>;

  AlignedRender(BlockProcessor& processor, int channels, int blockSize, bool compensateLatency, Sink sink);

  // Any number of frames, in any pieces. False once the sink has failed.
  bool Push(const float* const* input, size_t frames);
  // Runs the last partial block and, with compensation, the latency's
  // worth of silence. False when the sink failed.
  bool Finish();

  // The shift applied to the output (0 without compensation).
  int AppliedLatency() const { return mLatency; }
  // Frames of silence run ahead of the input (0 without compensation).
  uint64_t PreRollFrames() const { return mPreRoll; }
  uint64_t FramesIn() const { return mFramesIn; }
  uint64_t FramesOut() const { return mFramesOut; }

 private:
  bool Append(const float* const* input, size_t offset, size_t frames, bool silence);
  bool RunPreRoll();
  bool RunBlock();

  BlockProcessor& mProcessor;
  Sink mSink;
  int mChannels;
  int mBlockSize;
  bool mCompensate;
  bool mFailed = false;
  bool mLatencyKnown = false;
  int mLatency = 0;
  bool mPreRollDone = false;
  uint64_t mPreRoll = 0;
  uint64_t mToDrop = 0;
  uint64_t mFramesIn = 0;   // input frames pushed, silence excluded
  uint64_t mFramesOut = 0;  // frames handed to the sink
  int mFill = 0;            // frames waiting in the input block
  std::vector<std::vector<float>> mIn, mOut;
  std::vector<std::vector<double>> mOutDouble;
  std::vector<float*> mInPtrs, mOutPtrs;
  std::vector<const double*> mSinkPtrs;
};
