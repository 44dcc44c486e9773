#include "plugin/engine/FilterBank.h"

#include <algorithm>
#include <cstring>

#include "dsp/resampler/VectorCopy.h"
#include "plugin/engine/BandDesign.h"

void FilterBank::Init(double hostRate, int maxHostBlock, int factor) {
  mHostRate = hostRate;
  for (BandFilter* bank : {mFirst, mSecond, mDisplay, mFir}) {
    for (int b = 0; b < kNumBands; ++b) ResetBand(bank[b]);
  }
  DesignProcessBands(-1, factor);
  DesignDisplayBands(-1);
  mListen.Init(factor * hostRate);
  mBuilder.Init();
  mConvolution.Init();
  SetMaxHostBlock(maxHostBlock);
}

void FilterBank::SetMaxHostBlock(int maxHostBlock) {
  mMaxHostBlock = std::max(maxHostBlock, 1);
  // Four times the host block: the most the 4x path hands over at once.
  mSpareOutput.Resize(4 * mMaxHostBlock, false);
  mZeroLatencySliceFrames = 4 * mMaxHostBlock;
  for (WDL_TypedBuf<double>* buf : {&mWork[0], &mWork[1], &mScratch}) {
    buf->Resize(4 * mMaxHostBlock, false);
    if (buf->Get()) std::memset(buf->Get(), 0, sizeof(double) * static_cast<size_t>(buf->GetSize()));
  }
  mSliceFrames = std::min(mSliceFrames, 4 * mMaxHostBlock);
}

void FilterBank::DesignBank(BandFilter* bank, int band, double rate, bool noCorrection) {
  const ParamMirrors& m = *mMirrors;
  const int first = band < 0 ? 0 : band;
  const int last = band < 0 ? kNumBands - 1 : band;
  for (int b = first; b <= last && b < kNumBands; ++b) {
    DesignBand(bank[b], m.bandType[b], m.bandFreq[b], m.bandGain[b], m.bandQ[b], m.bandSlope[b], rate, noCorrection);
  }
}

void FilterBank::DesignProcessBands(int band, int factor) {
  DesignBank(mFirst, band, factor * mHostRate, factor > 1);
  DesignBank(mSecond, band, factor * mHostRate, factor > 1);
}

void FilterBank::ResetProcessBands() {
  for (int b = 0; b < kNumBands; ++b) {
    ResetBand(mFirst[b]);
    ResetBand(mSecond[b]);
  }
}

void FilterBank::DesignDisplayBands(int band) {
  DesignBank(mDisplay, band, 2.0 * mHostRate, true);
  DesignBank(mFir, band, 2.0 * mHostRate, true);
}

void FilterBank::BuildImpulseResponse(int length, int factor) {
  mBuilder.Build(mDisplay, mFir, *mMirrors, length, mMirrors->filterMode, factor * mHostRate, 2.0 * mHostRate);
}

int FilterBank::UpdateConvolution(bool resetChannels, bool forceRealign, int factor) {
  mSliceFrames = mMaxHostBlock * std::clamp(factor, 1, 4);
  mConvolution.SetMaxBlock(mSliceFrames);
  return mConvolution.Update(mBuilder, mMirrors->filterMode, resetChannels, forceRealign);
}

namespace {

// On a mono bus both inputs are one buffer, which may also be output 0:
// callers copy the second channel first.
void CopyApart(double* to, const double* from, int n) {
  if (to != from) CopyDoubles(to, from, n);
}

}  // namespace

void FilterBank::RunZeroLatency(const double* in0, const double* in1, double* out0, double* out1, int n) {
  const bool listen = mListen.IsActive();
  // With "AB" off or a band listened to the bands still run, so their state
  // stays current; their result goes to the work buffers instead of the
  // outputs.
  const bool wet = !listen && mMirrors->abEnabled != 0;
  double* l = wet ? out0 : mWork[0].Get();
  double* r = wet ? out1 : mWork[1].Get();
  CopyApart(r, in1, n);
  CopyApart(l, in0, n);
  mChain.Select(*mMirrors);
  double* scratch = mScratch.Get();
  mCascade.Run(mChain, 1, mFirst, mSecond, l, r, scratch, n);
  // Without mid/side bands the round trip through mid and side would only
  // add rounding, so it is left out.
  if (mChain.HasPass2()) {
    for (int i = 0; i < n; ++i) {
      const double mid = (l[i] + r[i]) * 0.5, side = (l[i] - r[i]) * 0.5;
      l[i] = mid;
      r[i] = side;
    }
    mCascade.Run(mChain, 2, mFirst, mSecond, l, r, scratch, n);
    for (int i = 0; i < n; ++i) {
      const double mid = l[i], side = r[i];
      l[i] = mid + side;
      r[i] = mid - side;
    }
  }
  if (!wet) {
    CopyApart(out1, in1, n);
    CopyApart(out0, in0, n);
    if (listen) {
      mListen.ProcessBlock(0, out0, out0, n);
      mListen.ProcessBlock(1, out1, out1, n);
    }
  }
}

void FilterBank::ProcessChannels(double** in, double** out, int n, int nIn, int nOut) {
  if (n < 1 || nIn < 1 || nOut < 1) return;
  const bool stereo = nIn >= 2 && nOut >= 2;
  const bool zeroLatency = mMirrors->filterMode <= 0;
  const bool wet = !mListen.IsActive() && mMirrors->abEnabled != 0;
  // Slices keep the FIR path within the queues and the spare buffer it was
  // sized for, and the zero-latency path within its work buffers.
  const int slice = zeroLatency ? mZeroLatencySliceFrames : mSliceFrames;
  // Each path rests while the other runs: the bands come back from rest,
  // not with the state they had when they were left; the convolution
  // stage empties its dry delay at its next load.
  if (zeroLatency) {
    if (mBandsResting) ResetProcessBands();
    mBandsResting = false;
    mConvolution.Rest();
  } else {
    mBandsResting = true;
  }
  for (int offset = 0; offset < n; offset += slice) {
    const int k = std::min(slice, n - offset);
    const double* in0 = in[0] + offset;
    const double* in1 = (stereo ? in[1] : in[0]) + offset;
    double* out0 = out[0] + offset;
    if (zeroLatency) {
      // On a mono bus output 0 keeps the left chain's result, as the FIR
      // modes do; the right one goes to the spare buffer.
      RunZeroLatency(in0, in1, out0, stereo ? out[1] + offset : mSpareOutput.Get(), k);
      if (!stereo && nOut >= 2) CopyDoubles(out[1] + offset, out0, k);
    } else {
      double* out1 = nOut >= 2 ? out[1] + offset : mSpareOutput.Get();
      mConvolution.Process(in0, in1, out0, out1, k, wet, mListen.IsActive() ? &mListen : nullptr);
    }
  }
}
