#pragma once

#include "framework/containers/WDL_TypedBuf.h"
#include "plugin/engine/BandChain.h"
#include "plugin/engine/BandFilter.h"
#include "plugin/engine/ParamMirrors.h"

// Measures the impulse response of the whole band chain for the FIR
// filter modes: four responses of L samples at the processing rate, one per
// channel the bands act on (left, right, mid, side), each a unit impulse
// when no band acts there. The tail fades out under the second half of a
// squared Hann window of 2L points, so the truncation at L does not click;
// the LinearPhase modes then keep only the magnitude, centred on L/2.
class FirImpulseBuilder {
 public:
  // "LinearPhase Max" at 4x.
  static constexpr int kMaxLength = 16384 * 4;

  // The FIR length of a filter mode (1..6) at an oversampling factor, or 0
  // for "Zero Latency" and modes outside the list.
  static int LengthFor(int filterMode, int osFactor);
  static bool IsLinearPhase(int filterMode) { return filterMode >= 4 && filterMode <= 6; }

  // Forgets the responses. The four buffers are allocated, for the longest
  // response, by the first Build: an instance that never leaves "Zero
  // Latency" never holds them.
  void Init();

  // Builds the four responses of `length` samples (at most kMaxLength).
  // The two banks are the builder's first- and second-channel objects: the
  // first is borrowed from the display, so both are redesigned at
  // displayRate (and reset) before this returns. Allocates the buffers (the
  // first time), the window and the linear-phase work area: not for the
  // audio thread.
  void Build(BandFilter* firstBank, BandFilter* secondBank, const ParamMirrors& mirrors, int length,
             int filterMode, double processRate, double displayRate);

  int GetLength() const { return mLength; }
  const double* Left() const { return mLeft.Get(); }
  const double* Right() const { return mRight.Get(); }
  const double* Mid() const { return mMid.Get(); }
  const double* Side() const { return mSide.Get(); }

 private:
  WDL_TypedBuf<double> mLeft, mRight, mMid, mSide;
  BandChain mChain;
  int mLength = 0;
};
