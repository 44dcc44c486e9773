#include "plugin/engine/FilterBank.h"

#include <algorithm>
#include <cstring>

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

void FilterBank::RunZeroLatency(const double* in0, const double* in1, double* out0, double* out1, int n) {
  if (mListen.IsActive()) {
    for (int i = 0; i < n; ++i) {
      const double l = in0[i], r = in1[i];
      out0[i] = mListen.Process(0, l);
      out1[i] = mListen.Process(1, r);
    }
    return;
  }
  mChain.Select(*mMirrors);
  const bool ab = mMirrors->abEnabled != 0;
  // Without mid/side bands the round trip through mid and side would only
  // add rounding, so it is left out.
  const bool pass2 = mChain.HasPass2();
  for (int i = 0; i < n; ++i) {
    const double a = in0[i], b = in1[i];
    double l = a, r = b;
    mChain.RunPass1(mFirst, mSecond, l, r);
    if (pass2) {
      double mid = (l + r) * 0.5, side = (l - r) * 0.5;
      mChain.RunPass2(mFirst, mSecond, mid, side);
      l = mid + side;
      r = mid - side;
    }
    // With "AB" off the bands still run, so their state stays current.
    out0[i] = ab ? l : a;
    out1[i] = ab ? r : b;
  }
}

void FilterBank::ProcessChannels(double** in, double** out, int n, int nIn, int nOut) {
  if (n < 1 || nIn < 1 || nOut < 1) return;
  const bool stereo = nIn >= 2 && nOut >= 2;
  const bool zeroLatency = mMirrors->filterMode <= 0;
  const bool wet = !mListen.IsActive() && mMirrors->abEnabled != 0;
  // Slices keep the FIR path within the queues and the spare buffer it was
  // sized for.
  for (int offset = 0; offset < n; offset += mSliceFrames) {
    const int k = std::min(mSliceFrames, n - offset);
    const double* in0 = in[0] + offset;
    const double* in1 = (stereo ? in[1] : in[0]) + offset;
    double* out0 = out[0] + offset;
    if (zeroLatency) {
      // On a mono bus output 0 keeps the left chain's result, as the FIR
      // modes do; the right one goes to the spare buffer.
      RunZeroLatency(in0, in1, out0, stereo ? out[1] + offset : mSpareOutput.Get(), k);
      if (!stereo && nOut >= 2) std::memcpy(out[1] + offset, out0, sizeof(double) * static_cast<size_t>(k));
    } else {
      double* out1 = nOut >= 2 ? out[1] + offset : mSpareOutput.Get();
      mConvolution.Process(in0, in1, out0, out1, k, wet, mListen.IsActive() ? &mListen : nullptr);
    }
  }
}
