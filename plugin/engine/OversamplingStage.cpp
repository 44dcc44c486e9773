#include "plugin/engine/OversamplingStage.h"

#include <algorithm>
#include <cstring>

#include "dsp/resampler/VectorCopy.h"
#include "plugin/engine/EngineLatency.h"

namespace {

// The equaliser's converter quality: 0.5 % transition band, 64.08 dB
// stop band, exact power-of-two chains.
constexpr double kTransitionPercent = 0.5;
constexpr double kAttenuationDb = 64.08;

void Zeroed(WDL_TypedBuf<double>& buf, int n) {
  buf.Resize(n, false);
  if (buf.Get()) std::memset(buf.Get(), 0, sizeof(double) * static_cast<size_t>(buf.GetSize()));
}

}  // namespace

void OversamplingStage::Setup(double sampleRate, int hostBlock, int factor) {
  Free();
  mFactor = factor == 2 || factor == 4 ? factor : 1;
  mMaxBlock = std::max(kMinBlock, hostBlock);
  if (mFactor == 1) return;
  const double rate = sampleRate;
  const double processRate = mFactor * sampleRate;
  for (int c = 0; c < kMaxChannels; ++c) {
    Zeroed(mInputBuffers[c], mMaxBlock);
    InitResampler(&mUp[c], rate, processRate, mMaxBlock, kTransitionPercent, kAttenuationDb, 0, true);
    ResetResampler(&mUp[c]);
    Zeroed(mFilterOutputs[c], mMaxBlock * mFactor);
    InitResampler(&mDown[c], processRate, rate, mMaxBlock * mFactor, kTransitionPercent, kAttenuationDb, 0, true);
    ResetResampler(&mDown[c]);
  }
  mBuilt = true;
}

void OversamplingStage::Free() {
  if (mBuilt) {
    for (int c = 0; c < kMaxChannels; ++c) {
      FreeResampler(&mUp[c]);
      FreeResampler(&mDown[c]);
    }
  }
  for (int c = 0; c < kMaxChannels; ++c) {
    mUp[c] = Resampler();
    mDown[c] = Resampler();
    mUpOutputs[c] = mDownOutputs[c] = nullptr;
  }
  mBuilt = false;
}

void OversamplingStage::Restart() {
  if (!mBuilt) return;
  for (int c = 0; c < kMaxChannels; ++c) {
    ResetResampler(&mUp[c]);
    ResetResampler(&mDown[c]);
  }
}

void OversamplingStage::Process(double** inputs, double** outputs, int nFrames, int nIn, int nOut,
                                ChannelProcessor& processor) {
  nIn = std::min(nIn, kMaxChannels);
  nOut = std::min(nOut, kMaxChannels);
  if (nFrames < 1 || nIn < 1 || nOut < 1) return;
  for (int offset = 0; offset < nFrames; offset += mMaxBlock) {
    ProcessSlice(inputs, outputs, offset, std::min(mMaxBlock, nFrames - offset), nIn, nOut, processor);
  }
}

void OversamplingStage::ProcessSlice(double** inputs, double** outputs, int offset, int n, int nIn, int nOut,
                                     ChannelProcessor& processor) {
  int upCount = n * mFactor;
  // The up-converters write only their own buffers, so they read the
  // host's input where it lies.
  double* in[kMaxChannels] = {nullptr, nullptr};
  for (int c = 0; c < nIn; ++c) {
    if (ResamplerKeepsItsInput(mUp[c])) {
      in[c] = inputs[c] + offset;
    } else {
      in[c] = mInputBuffers[c].Get();
      CopyDoubles(in[c], inputs[c] + offset, n);
    }
  }
  // Two channels convert together, sharing each transform.
  if (nIn == 2) {
    int32_t second = 0;
    const int32_t first = RunResamplerBlockPair(&mUp[0], &mUp[1], in[0], in[1], n,
                                                &mUpOutputs[0], &mUpOutputs[1], &second);
    upCount = std::min(upCount, static_cast<int>(std::min(first, second)));
  } else {
    upCount = std::min(upCount, static_cast<int>(RunResamplerBlock(&mUp[0], in[0], n, &mUpOutputs[0])));
  }
  double* filterOutputs[kMaxChannels] = {mFilterOutputs[0].Get(), mFilterOutputs[1].Get()};
  // With a channel in for every channel out the processor works in place in
  // the up-converters' own buffers (a host may hand it one buffer each way
  // too), which spares copying every sample at the processing rate.
  if (nIn == nOut) {
    for (int c = 0; c < nIn; ++c) {
      if (mUpOutputs[c] != in[c]) filterOutputs[c] = mUpOutputs[c];
    }
  }
  processor.ProcessChannels(mUpOutputs, filterOutputs, upCount, nIn, nOut);

  // The last channel's count decides, as the converters of a bus run alike.
  int downCount = 0;
  if (nOut == 2) {
    int32_t second = 0;
    RunResamplerBlockPair(&mDown[0], &mDown[1], filterOutputs[0], filterOutputs[1], upCount, &mDownOutputs[0],
                          &mDownOutputs[1], &second);
    downCount = second;
  } else {
    downCount = RunResamplerBlock(&mDown[0], filterOutputs[0], upCount, &mDownOutputs[0]);
  }
  for (int c = 0; c < nOut; ++c) {
    double* out = outputs[c] + offset;
    if (downCount == n) {
      CopyDoubles(out, mDownOutputs[c], n);
    } else {
      // The converters are still filling (their counts vary at start).
      std::memset(out, 0, sizeof(double) * static_cast<size_t>(n));
    }
  }
}

int OversamplingStage::GetConverterLatency() const {
  return IsActive() ? CalcConverterLatency(mDown[0], mFactor) : 0;
}

int OversamplingStage::ConverterLatencyFor(double sampleRate, int factor) {
  if (factor != 2 && factor != 4) return 0;
  Resampler probe{};
  InitResampler(&probe, factor * sampleRate, sampleRate, 64, kTransitionPercent, kAttenuationDb, 0, true);
  const int latency = CalcConverterLatency(probe, factor);
  FreeResampler(&probe);
  return latency;
}
