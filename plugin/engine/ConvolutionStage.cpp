#include "plugin/engine/ConvolutionStage.h"

#include <algorithm>
#include <cstring>

void ConvolutionStage::Init() {
  for (DelayRing& ring : mDry) {
    ring.SetCapacity(kMaxLatency);
    ring.SetLength(0);
  }
  mLatency = 0;
}

void ConvolutionStage::Prime(ConvolutionEngine& engine, int length) {
  // A working run on silence first. Queued in pieces of the largest block,
  // the input lands in blocks that each take any later append, more of them
  // than a running engine ever holds; convolving it all grows the output
  // queues past their working size. Reset keeps that memory, so Add and
  // Avail do not allocate later. Silent partitions skip their transforms.
  engine.Reset();
  const int pieces = 2 * (length + mMaxBlock) / mMaxBlock + 4;
  for (int k = 0; k < pieces; ++k) engine.Add(nullptr, mMaxBlock, 2);
  engine.Advance(engine.Avail(pieces * mMaxBlock));
  engine.Reset();
  engine.Add(nullptr, length, 2);
}

int ConvolutionStage::Update(const FirImpulseBuilder& impulse, int filterMode, bool resetChannels,
                             bool forceRealign) {
  const int length = impulse.GetLength();
  if (length < 1) return mLatency;
  mImpulseLR.SetNumChannels(2);
  mImpulseMS.SetNumChannels(2);
  if (resetChannels) {
    mLR.ResetChannelCount();
    mMS.ResetChannelCount();
  }
  mImpulseLR.SetLength(length);
  mImpulseMS.SetLength(length);
  const size_t bytes = sizeof(double) * static_cast<size_t>(length);
  if (mImpulseLR.GetLength(0) == length && mImpulseMS.GetLength(0) == length) {
    std::memcpy(mImpulseLR.GetSamples(0), impulse.Left(), bytes);
    std::memcpy(mImpulseLR.GetSamples(1), impulse.Right(), bytes);
    std::memcpy(mImpulseMS.GetSamples(0), impulse.Mid(), bytes);
    std::memcpy(mImpulseMS.GetSamples(1), impulse.Side(), bytes);
  }
  mLR.SetImpulse(&mImpulseLR, 2 * length, 0, 0, false, false, true);
  mMS.SetImpulse(&mImpulseMS, 2 * length, 0, 0, false, false, true);

  int latency = mMS.GetFFTSize() / 2 + mLR.GetFFTSize() / 2;
  if (FirImpulseBuilder::IsLinearPhase(filterMode)) latency += length & ~1;
  if (latency != mLatency || forceRealign) {
    mLatency = latency;
    for (DelayRing& ring : mDry) ring.SetLength(latency);
    Prime(mLR, length);
    Prime(mMS, length);
  } else if (resetChannels) {
    // The histories are rebuilt by the next Add; do it here, where it may allocate.
    mLR.Add(nullptr, 0, 2);
    mMS.Add(nullptr, 0, 2);
  }
  return mLatency;
}

void ConvolutionStage::Convolve(ConvolutionEngine& engine, const double* const* in, double* out0, double* out1,
                                int n) {
  engine.Add(in, n, 2);
  const int k = std::min(engine.Avail(n), n);
  const int silent = n - k;
  std::memset(out0, 0, sizeof(double) * static_cast<size_t>(silent));
  std::memset(out1, 0, sizeof(double) * static_cast<size_t>(silent));
  if (k > 0) {
    double** ready = engine.Get();
    std::memcpy(out0 + silent, ready[0], sizeof(double) * static_cast<size_t>(k));
    std::memcpy(out1 + silent, ready[1], sizeof(double) * static_cast<size_t>(k));
    engine.Advance(k);
  }
}

void ConvolutionStage::Process(const double* in0, const double* in1, double* out0, double* out1, int n, bool wet,
                               BandListen* listen) {
  if (n < 1) return;
  const double* in[2] = {in0, in1};
  if (wet) {
    // The dry delay keeps running so that "AB" off or a listen starts aligned.
    for (int i = 0; i < n; ++i) {
      mDry[0].Push(in0[i]);
      mDry[1].Push(in1[i]);
    }
    Convolve(mLR, in, out0, out1, n);
    for (int i = 0; i < n; ++i) {
      const double l = out0[i], r = out1[i];
      out0[i] = (l + r) * 0.5;
      out1[i] = (l - r) * 0.5;
    }
    const double* ms[2] = {out0, out1};
    Convolve(mMS, ms, out0, out1, n);
    for (int i = 0; i < n; ++i) {
      const double mid = out0[i], side = out1[i];
      out0[i] = mid + side;
      out1[i] = mid - side;
    }
    return;
  }

  // Fed before the outputs are written, which may be the inputs' buffers.
  for (ConvolutionEngine* engine : {&mLR, &mMS}) {
    engine->Add(in, n, 2);
    if (engine->Avail(n) >= n) {
      engine->Advance(n);
    } else {
      const int ready = engine->Avail(n);
      if (ready > 0) engine->Advance(ready);
    }
  }
  for (int i = 0; i < n; ++i) {
    double l = mDry[0].Push(in0[i]);
    double r = mDry[1].Push(in1[i]);
    if (listen) {
      l = listen->Process(0, l);
      r = listen->Process(1, r);
    }
    out0[i] = l;
    out1[i] = r;
  }
}
