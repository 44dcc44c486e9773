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

int ConvolutionStage::Update(const FirImpulseBuilder& impulse, int filterMode, bool /*resetChannels*/,
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
  mLR.SetImpulse(impulse.Left(), impulse.Right(), length, length);
  mMS.SetImpulse(impulse.Mid(), impulse.Side(), length, length);

  int latency = mMS.GetLatency() + mLR.GetLatency();
  if (FirImpulseBuilder::IsLinearPhase(filterMode)) latency += length & ~1;
  if (latency != mLatency || forceRealign) {
    mLatency = latency;
    for (DelayRing& ring : mDry) ring.SetLength(latency);
    mLR.Reset();
    mMS.Reset();
  }
  return mLatency;
}

void ConvolutionStage::RunEngines(const double* const* in, double* out0, double* out1, int n) {
  double* out[2] = {out0, out1};
  mLR.Process(in, out, n);
  // The second engine works on the first one's mid and side.
  for (int i = 0; i < n; ++i) {
    const double l = out0[i], r = out1[i];
    out0[i] = (l + r) * 0.5;
    out1[i] = (l - r) * 0.5;
  }
  mMS.Process(out, out, n);
  for (int i = 0; i < n; ++i) {
    const double mid = out0[i], side = out1[i];
    out0[i] = mid + side;
    out1[i] = mid - side;
  }
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
