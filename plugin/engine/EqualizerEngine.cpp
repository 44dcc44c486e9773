#include "plugin/engine/EqualizerEngine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "plugin/engine/EngineLatency.h"

namespace {

constexpr double kLn10Over20 = 0.11512925464970228;
constexpr double kSilenceBelowDb = -144.0;
// Output below this (about -600 dBFS) leaves as 0: the converters' and the
// "D - " designs' tails decay through numbers that are denormal as the
// host's floats within a second or two of silence.
constexpr double kOutputFloor = 1e-30;

void Scale(double* samples, int n, double factor) {
  for (int i = 0; i < n; ++i) samples[i] *= factor;
}

void ScaleAboveFloor(double* samples, int n, double factor) {
  int i = 0;
#if defined(__SSE2__)
  // The same compare two samples a step; a NaN is not below and stays.
  const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffffLL));
  const __m128d floor = _mm_set1_pd(kOutputFloor), f = _mm_set1_pd(factor);
  for (; i + 2 <= n; i += 2) {
    const __m128d y = _mm_mul_pd(_mm_loadu_pd(samples + i), f);
    _mm_storeu_pd(samples + i, _mm_and_pd(y, _mm_cmpnlt_pd(_mm_and_pd(y, magnitude), floor)));
  }
#endif
  for (; i < n; ++i) {
    const double y = samples[i] * factor;
    samples[i] = std::fabs(y) < kOutputFloor ? 0.0 : y;
  }
}

// A NaN or infinity from the host would stay in every recursive band, the
// converters, the dry delays, the meters and the analysers for good. Taken
// out here, before anything keeps state, it costs one compare per sample.
void ZeroNonFinite(double* samples, int n) {
  constexpr double kLargest = std::numeric_limits<double>::max();
  int i = 0;
#if defined(__SSE2__)
  // Without a branch: a NaN compares false, so its mask clears it to +0.
  const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffffLL));
  const __m128d largest = _mm_set1_pd(kLargest);
  for (; i + 2 <= n; i += 2) {
    const __m128d x = _mm_loadu_pd(samples + i);
    _mm_storeu_pd(samples + i, _mm_and_pd(x, _mm_cmple_pd(_mm_and_pd(x, magnitude), largest)));
  }
#endif
  for (; i < n; ++i) {
    if (!(std::fabs(samples[i]) <= kLargest)) samples[i] = 0.0;
  }
}

}  // namespace

EqualizerEngine::EqualizerEngine(const ParamMirrors* mirrors) : mMirrors(mirrors), mBank(mirrors) {}

int EqualizerEngine::Factor() const {
  const int f = mMirrors->osFactor;
  return f == 2 || f == 4 ? f : 1;
}

void EqualizerEngine::Setup(double sampleRate, int blockSize, int nIn, int nOut) {
  mSampleRate = sampleRate;
  mBlockSize = blockSize;
  mNumInputs = std::clamp(nIn, 0, 2);
  mNumOutputs = std::clamp(nOut, 0, 2);
  const int maxBlock = std::max(OversamplingStage::kMinBlock, blockSize);
  mBank.Init(sampleRate, maxBlock, Factor());
  for (DelayRing& ring : mInputMeterDelay) {
    ring.SetLength(0);
    ring.Clear();
  }
  mTiming.Setup(sampleRate, kMeterRefreshMs, kOneShotMs);
  mFirLength = 2048;
  // The FIR path is loaded when a FIR mode is chosen (the parameter code
  // builds the impulse then); until then it passes its input and holds no
  // engine memory.
  if (mMirrors->filterMode > 0) {
    BuildImpulseResponse();
    mBank.UpdateConvolution(true, true, Factor());
  }
  SetupOversampling();
  mMaxLatency = ConvolutionStage::kMaxLatency / 4 + std::max(OversamplingStage::ConverterLatencyFor(sampleRate, 2),
                                                             OversamplingStage::ConverterLatencyFor(sampleRate, 4));
  DistributeLatency();
}

void EqualizerEngine::Reinit(double sampleRate, int blockSize) {
  mSampleRate = sampleRate;
  mBlockSize = blockSize;
  mBank.SetHostRate(sampleRate);
  mBank.SetMaxHostBlock(std::max(OversamplingStage::kMinBlock, blockSize));
  mTiming.Setup(sampleRate, kMeterRefreshMs, kOneShotMs);
  DesignProcessBands(-1);
  DesignDisplayBands(-1);
  if (mMirrors->filterMode > 0) {
    BuildImpulseResponse();
    mBank.UpdateConvolution(true, true, Factor());
  }
  FreeOversampling();
  SetupOversampling();
  DistributeLatency();
}

void EqualizerEngine::SetChannelCounts(int nIn, int nOut) {
  nIn = std::clamp(nIn, 0, 2);
  nOut = std::clamp(nOut, 0, 2);
  if (nIn == mNumInputs && nOut == mNumOutputs) return;
  mNumInputs = nIn;
  mNumOutputs = nOut;
  // A converter that sat idle would lag the others by its start-up.
  mOversampling.Restart();
}

void EqualizerEngine::DesignProcessBands(int band) { mBank.DesignProcessBands(band, Factor()); }

void EqualizerEngine::ResetProcessBands() { mBank.ResetProcessBands(); }

void EqualizerEngine::DesignDisplayBands(int band) { mBank.DesignDisplayBands(band); }

void EqualizerEngine::SetFirLength(int length) { mFirLength = std::clamp(length, 2, FirImpulseBuilder::kMaxLength); }

void EqualizerEngine::BuildImpulseResponse() { mBank.BuildImpulseResponse(mFirLength, Factor()); }

void EqualizerEngine::UpdateConvolution(bool resetChannels, bool forceRealign) {
  mBank.UpdateConvolution(resetChannels, forceRealign, Factor());
  DistributeLatency();
}

void EqualizerEngine::SetupOversampling() {
  mOversampling.Setup(mSampleRate, mBlockSize, Factor());
  mBank.GetListen().Redesign(mOversampling.GetFactor() * mSampleRate);
}

void EqualizerEngine::FreeOversampling() { mOversampling.Free(); }

int EqualizerEngine::CalcLatency() const {
  // The factor that runs, which the converters and the FIR length were built for.
  const int factor = mOversampling.IsActive() ? mOversampling.GetFactor() : 1;
  return ::CalcLatency(mOversampling.GetConverterLatency(), factor, mMirrors->filterMode, mBank.GetFirLatency(),
                       kZeroLatencyDelay);
}

void EqualizerEngine::UpdateHostLatency(int latency) {
  if (!mHost || !HostTakesLatencyAtOnce(mHost->GetHost())) return;
  if (mHost->GetLatency() != latency) mHost->SetLatency(latency);
}

void EqualizerEngine::DistributeLatency() {
  mTotalLatency = CalcLatency();
  for (DelayRing& ring : mInputMeterDelay) {
    // Grown to its full size the first time a latency needs it, which only
    // the set-up calls that load the FIR path or the converters bring.
    if (ring.GetCapacity() < std::min(mTotalLatency, kInputMeterDelayCapacity)) {
      ring.SetCapacity(kInputMeterDelayCapacity);
    }
    if (ring.GetLength() != mTotalLatency) ring.SetLength(mTotalLatency);
  }
}

void EqualizerEngine::StartListen(double frequencyHz, double gainDb) {
  BandListen& listen = mBank.GetListen();
  listen.Design(frequencyHz, gainDb, mOversampling.GetFactor() * mSampleRate);
  listen.SetActive(true);
}

void EqualizerEngine::StopListen() { mBank.GetListen().SetActive(false); }

void EqualizerEngine::Meter(double** inputs, double** outputs, int nFrames) {
  const bool stereoIn = mNumInputs >= 2;
  const bool stereoOut = mNumOutputs >= 2;
  for (int offset = 0; offset < nFrames; offset += kChunkFrames) {
    const int n = std::min(kChunkFrames, nFrames - offset);
    double* left = mChunk[0];
    double* right = mChunk[1];
    mInputMeterDelay[0].PushBlock(inputs[0] + offset, left, n);
    if (stereoIn) {
      mInputMeterDelay[1].PushBlock(inputs[1] + offset, right, n);
    } else {
      // A mono bus puts silence into the right delay, which still hands
      // out what it held from a stereo layout before.
      std::memset(right, 0, sizeof(double) * static_cast<size_t>(n));
      mInputMeterDelay[1].PushBlock(right, right, n);
    }
    if (mMeters) {
      mMeters->ProcessMeterBlocks(left, right, outputs[0] + offset, stereoOut ? outputs[1] + offset : nullptr, n);
    }
  }
}

void EqualizerEngine::Feed(AnalyzerFeed* feed, double** channels, int nChannels, int nFrames) {
  const int mode = mMirrors->analyzerMode;
  if (feed && mode >= 0 && mode <= 4) feed->FeedAnalyzer(channels, nChannels, nFrames, mode);
}

void EqualizerEngine::RunFilterBank(double** inputs, double** outputs, int nFrames) {
  if (mOversampling.IsActive()) {
    mOversampling.Process(inputs, outputs, nFrames, mNumInputs, mNumOutputs, mBank);
  } else {
    mBank.ProcessChannels(inputs, outputs, nFrames, mNumInputs, mNumOutputs);
  }
}

void EqualizerEngine::ApplyOutputStages(double** inputs, double** outputs, int nFrames) {
  const ParamMirrors& m = *mMirrors;
  const bool stereoOut = mNumOutputs >= 2;
  const bool stereo = stereoOut && mNumInputs >= 2;
  double* out0 = outputs[0];
  double* out1 = stereoOut ? outputs[1] : nullptr;

  if (m.phase != 0) {
    static const double kPhaseFactor[2] = {1.0, -1.0};
    const double factor = kPhaseFactor[m.phase != 0];
    Scale(out0, nFrames, factor);
    if (out1) Scale(out1, nFrames, factor);
  }

  if (mLoudness) {
    for (int offset = 0; offset < nFrames; offset += kChunkFrames) {
      const int n = std::min(kChunkFrames, nFrames - offset);
      double* gains = mChunk[0];
      if (!mLoudness->GetLoudnessMatchGains(inputs[0] + offset, stereo ? inputs[1] + offset : nullptr, out0 + offset,
                                            stereo ? out1 + offset : nullptr, gains, n)) {
        continue;
      }
      for (int i = 0; i < n; ++i) {
        out0[offset + i] *= gains[i];
        // A mono input copied to two outputs keeps both channels equal.
        if (out1) out1[offset + i] *= gains[i];
      }
    }
  }

  if (m.hold == 0 && m.predictivePostSpectrum == 0 && m.postFilterSpectrum == 1) {
    Feed(mPostAnalyzer, outputs, mNumOutputs, nFrames);
  }

  double gain = 0.0;
  if (m.outputGainDb > kSilenceBelowDb) gain = std::exp(m.outputGainDb * kLn10Over20);
  // A listened band is heard at its own level, whatever the output gain.
  if (mBank.GetListen().IsActive()) gain = 1.0;
  ScaleAboveFloor(out0, nFrames, gain);
  if (out1) ScaleAboveFloor(out1, nFrames, gain);

}

void EqualizerEngine::ProcessBlock(double** inputs, double** outputs, int nFrames) {
  if (mHost && mHost->GetLatency() != mTotalLatency) mHost->SetLatency(mTotalLatency);

  if (nFrames >= 1) {
    if (mNumInputs < 1 || mNumOutputs < 1) {
      // Nothing to filter: what outputs there are stay silent.
      for (int c = 0; c < mNumOutputs; ++c) std::memset(outputs[c], 0, sizeof(double) * static_cast<size_t>(nFrames));
    } else {
      for (int c = 0; c < mNumInputs; ++c) ZeroNonFinite(inputs[c], nFrames);
      if (mMirrors->hold == 0) Feed(mPreAnalyzer, inputs, mNumInputs, nFrames);
      RunFilterBank(inputs, outputs, nFrames);
      ApplyOutputStages(inputs, outputs, nFrames);
      // Both meters at the end, together: the input meter reads the
      // untouched inputs through its delay, the output meter the final
      // outputs.
      Meter(inputs, outputs, nFrames);
    }
  }

  if (mHost && mHost->IsDisplayRefreshSuspended()) return;
  mTiming.Advance(nFrames);
}
