#include "plugin/engine/FirImpulseBuilder.h"

#include <algorithm>
#include <cstring>

#include "dsp/convolution/LinearPhaseImpulse.h"
#include "dsp/fft/Window.h"
#include "plugin/engine/BandDesign.h"

namespace {

void DesignBank(BandFilter* bank, const ParamMirrors& m, double rate) {
  for (int b = 0; b < kNumBands; ++b) {
    ResetBand(bank[b]);
    DesignBand(bank[b], m.bandType[b], m.bandFreq[b], m.bandGain[b], m.bandQ[b], m.bandSlope[b], rate, true);
  }
}

}  // namespace

int FirImpulseBuilder::LengthFor(int filterMode, int osFactor) {
  static const int kBase[] = {0, 2048, 4096, 16384, 2048, 4096, 16384};
  if (filterMode < 1 || filterMode > 6) return 0;
  const int factor = osFactor == 2 || osFactor == 4 ? osFactor : 1;
  return kBase[filterMode] * factor;
}

void FirImpulseBuilder::Init() { mLength = 0; }

void FirImpulseBuilder::Build(BandFilter* firstBank, BandFilter* secondBank, const ParamMirrors& mirrors,
                              int length, int filterMode, double processRate, double displayRate) {
  for (WDL_TypedBuf<double>* buf : {&mLeft, &mRight, &mMid, &mSide}) {
    if (buf->GetSize() == kMaxLength) continue;
    buf->Resize(kMaxLength, false);
    if (buf->Get()) std::memset(buf->Get(), 0, sizeof(double) * static_cast<size_t>(buf->GetSize()));
  }
  mLength = std::clamp(length, 0, std::min(mLeft.GetSize(), kMaxLength));
  double* left = mLeft.Get();
  double* right = mRight.Get();
  double* mid = mMid.Get();
  double* side = mSide.Get();

  DesignBank(firstBank, mirrors, processRate);
  DesignBank(secondBank, mirrors, processRate);
  mChain.Select(mirrors);
  for (int i = 0; i < mLength; ++i) {
    const double x = i == 0 ? 1.0 : 0.0;
    double a = x, b = x;
    mChain.RunPass1(firstBank, secondBank, a, b);
    left[i] = a;
    right[i] = b;
    double m = x, s = x;
    mChain.RunPass2(firstBank, secondBank, m, s);
    mid[i] = m;
    side[i] = s;
  }

  if (mLength > 0) {
    double* window = MakeWindow(2 * mLength, kWindowHannSquared, false);
    if (window) {
      for (double* buf : {left, right, mid, side}) {
        for (int i = 0; i < mLength; ++i) buf[i] *= window[mLength + i];
      }
      delete[] window;
    }
    if (IsLinearPhase(filterMode)) {
      for (double* buf : {left, right, mid, side}) MakeLinearPhaseImpulse(buf, mLength);
    }
  }

  // The display draws from the first bank: give it back at its own rate.
  DesignBank(firstBank, mirrors, displayRate);
  DesignBank(secondBank, mirrors, displayRate);
}
