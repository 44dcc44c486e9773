#include "plugin/engine/ConvolutionStage.h"

#include <algorithm>
#include <cstring>

void ConvolutionStage::Init() {
  for (DelayRing& ring : mDry) {
    ring.SetLength(0);
    ring.Clear();
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
  for (DelayRing& ring : mDry) {
    if (ring.GetCapacity() < kMaxLatency) ring.SetCapacity(kMaxLatency);
    if (mResting) ring.Clear();
  }
  mResting = false;
  mLoaded = true;
  for (WDL_TypedBuf<double>& buf : mScratch) buf.Resize(mMaxBlock, false);
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

template <class Map>
void ConvolutionStage::Convolve(ConvolutionEngine& engine, const double* const* in, double* out0, double* out1,
                                int n, Map map) {
  engine.Add(in, n, 2);
  const int k = std::min(engine.Avail(n), n);
  const int silent = n - k;
  for (int i = 0; i < silent; ++i) map(0.0, 0.0, out0[i], out1[i]);
  if (k > 0) {
    double** ready = engine.Get();
    const double* ready0 = ready[0];
    const double* ready1 = ready[1];
    for (int i = 0; i < k; ++i) map(ready0[i], ready1[i], out0[silent + i], out1[silent + i]);
    engine.Advance(k);
  }
}

void ConvolutionStage::RunEngines(const double* const* in, double* out0, double* out1, int n) {
  // The engines' outputs go through mid/side and back as they are taken
  // out of the queues.
  Convolve(mLR, in, out0, out1, n, [](double l, double r, double& mid, double& side) {
    mid = (l + r) * 0.5;
    side = (l - r) * 0.5;
  });
  const double* ms[2] = {out0, out1};
  Convolve(mMS, ms, out0, out1, n, [](double mid, double side, double& l, double& r) {
    l = mid + side;
    r = mid - side;
  });
}

void ConvolutionStage::Process(const double* in0, const double* in1, double* out0, double* out1, int n, bool wet,
                               BandListen* listen) {
  if (n < 1) return;
  if (!mLoaded) {
    // Second channel first: on a mono bus it may be the first's input.
    if (out1 != in1) std::memmove(out1, in1, sizeof(double) * static_cast<size_t>(n));
    if (out0 != in0) std::memmove(out0, in0, sizeof(double) * static_cast<size_t>(n));
    if (listen) {
      listen->ProcessBlock(0, out0, out0, n);
      listen->ProcessBlock(1, out1, out1, n);
    }
    return;
  }
  const double* in[2] = {in0, in1};
  if (wet) {
    // The dry delay keeps running so that "AB" off or a listen starts aligned.
    mDry[0].Write(in0, n);
    mDry[1].Write(in1, n);
    RunEngines(in, out0, out1, n);
    return;
  }

  // The engines run on as on the filtered path, the mid/side one on the mid
  // and side of the first one's output, so that switching back finds them
  // where they would have been. Fed before the outputs are written, which
  // may be the inputs' buffers.
  const int room = std::min(mScratch[0].GetSize(), mScratch[1].GetSize());
  for (int offset = 0; offset < n && room > 0; offset += room) {
    const double* piece[2] = {in0 + offset, in1 + offset};
    RunEngines(piece, mScratch[0].Get(), mScratch[1].Get(), std::min(room, n - offset));
  }
  // Second channel first: on a mono bus it may be the first's input.
  mDry[1].PushBlock(in1, out1, n);
  mDry[0].PushBlock(in0, out0, n);
  if (listen) {
    listen->ProcessBlock(0, out0, out0, n);
    listen->ProcessBlock(1, out1, out1, n);
  }
}
