#pragma once

#include "dsp/convolution/SpreadConvolver.h"
#include "framework/containers/WDL_TypedBuf.h"
#include "plugin/engine/BandListen.h"
#include "plugin/engine/DelayRing.h"
#include "plugin/engine/FirImpulseBuilder.h"

// The FIR filter modes: two FFT convolution engines in series, the first
// with the left/right response, the second with the mid/side one, and the
// dry delay that keeps "AB" off and band listen aligned with the filtered
// path. Each engine delays by L, its work spread evenly over the blocks; a
// linear-phase response adds its centre, L/2, once per engine. An engine
// whose channels the bands leave alone (no mid or side band, say) runs as
// a plain delay.
class ConvolutionStage {
 public:
  // The most the stage delays, "LinearPhase Max" at 4x: two engines of
  // L = 65536 plus two half-lengths.
  static constexpr int kMaxLatency = 3 * FirImpulseBuilder::kMaxLength;

  // Empties the stage: nothing is loaded until the first Update, which
  // also sizes the dry delay for kMaxLatency, so an instance that never
  // leaves "Zero Latency" never holds the engines' memory.
  void Init();
  // The most frames one Process call hands over (the size of the scratch
  // buffers of the dry path).
  void SetMaxBlock(int maxBlock) { mMaxBlock = maxBlock > 1 ? maxBlock : 1; }

  // Loads the builder's four responses into the engines; they go on from
  // their recent input as if the new responses had always been loaded.
  // When the latency changes, or with forceRealign, the engines are
  // emptied (as after silence). resetChannels is kept for the callers; the
  // engines always run two channels. Returns the latency in samples at the
  // processing rate. Allocates: not for the audio thread.
  int Update(const FirImpulseBuilder& impulse, int filterMode, bool resetChannels, bool forceRealign);

  // One block of n frames (at most maxBlock). Before the first Update the
  // output is the input itself (there is no delay to align with), and no
  // engine is touched. in1/out1 are the right
  // channel, or stand-ins on a mono bus: the engines always run two
  // channels. wet: the filtered path ("AB" on and no band listened to);
  // otherwise the output is the dry delay, through `listen` when it is
  // given, while the engines keep running so that switching back finds them
  // in step.
  void Process(const double* in0, const double* in1, double* out0, double* out1, int n, bool wet,
               BandListen* listen);

  // The bank runs without the stage: what the dry delay holds is stale by
  // the next Update, which empties it. No allocation.
  void Rest() { mResting = true; }

  int GetLatency() const { return mLatency; }
  bool IsLoaded() const { return mLoaded; }
  const SpreadConvolver& GetEngineLR() const { return mLR; }
  const SpreadConvolver& GetEngineMS() const { return mMS; }

 private:
  // Both engines over n frames, the second on the first one's mid and
  // side: out holds the filtered left and right.
  void RunEngines(const double* const* in, double* out0, double* out1, int n);
  SpreadConvolver mLR, mMS;
  DelayRing mDry[2];
  // Where the engines put their output, unheard, while the dry path is.
  WDL_TypedBuf<double> mScratch[2];
  int mLatency = 0;
  int mMaxBlock = 1;
  bool mLoaded = false;
  bool mResting = false;
};
