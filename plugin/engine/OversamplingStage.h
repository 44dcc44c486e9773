#pragma once

#include "dsp/resampler/Resampler.h"
#include "framework/containers/WDL_TypedBuf.h"
#include "plugin/engine/ChannelProcessor.h"

// 2x or 4x oversampling around the filter bank: every input channel is
// up-converted, the bank runs at the processing rate, every output channel
// is down-converted. The converters are time-aligned but drop their
// start-up samples, so for a while after set-up the down-converters give
// fewer frames than a block holds; such blocks come out as silence, and
// once they fill the output is continuous, delayed by the converters'
// latency.
//
// Converters and buffers exist for two channels whatever the bus carries,
// so a change of channel count never indexes past them.
class OversamplingStage {
 public:
  static constexpr int kMaxChannels = 2;
  // Frames one conversion takes at least: hosts announce smaller blocks.
  static constexpr int kMinBlock = 8192;

  OversamplingStage() = default;
  ~OversamplingStage() { Free(); }
  OversamplingStage(const OversamplingStage&) = delete;
  OversamplingStage& operator=(const OversamplingStage&) = delete;

  // Builds converters from sampleRate to factor x sampleRate and back for
  // blocks of max(kMinBlock, hostBlock) frames; a factor other than 2 or 4
  // means off (nothing is built). Frees what was built before. Allocates.
  void Setup(double sampleRate, int hostBlock, int factor);
  void Free();
  // Every converter back at its start, so all channels run in step again.
  void Restart();

  int GetFactor() const { return mFactor; }
  int GetMaxBlock() const { return mMaxBlock; }
  bool IsActive() const { return mFactor > 1 && mBuilt; }

  // Runs nFrames (any number) through up-conversion, the processor and
  // down-conversion, in slices of at most GetMaxBlock() frames. A slice
  // whose down-conversion does not give exactly its length is silence.
  // The inputs are only read (they may be the outputs); with as many
  // channels in as out the processor is handed the same buffers as its
  // input and its output.
  void Process(double** inputs, double** outputs, int nFrames, int nIn, int nOut, ChannelProcessor& processor);

  // The converters' latency in host samples, read from channel 0's
  // down-converter (the up-converters mirror it): 0 when off.
  int GetConverterLatency() const;

  const Resampler& GetDownConverter(int channel) const { return mDown[channel & 1]; }

  // The converter latency a stage of this factor would have, without
  // building one (the kernels come from the shared cache). Allocates.
  static int ConverterLatencyFor(double sampleRate, int factor);

 private:
  void ProcessSlice(double** inputs, double** outputs, int offset, int n, int nIn, int nOut,
                    ChannelProcessor& processor);

  Resampler mUp[kMaxChannels] = {};
  Resampler mDown[kMaxChannels] = {};
  WDL_TypedBuf<double> mInputBuffers[kMaxChannels];
  WDL_TypedBuf<double> mFilterOutputs[kMaxChannels];
  double* mUpOutputs[kMaxChannels] = {nullptr, nullptr};
  double* mDownOutputs[kMaxChannels] = {nullptr, nullptr};
  int mFactor = 1;
  int mMaxBlock = kMinBlock;
  bool mBuilt = false;
};
