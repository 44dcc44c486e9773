#pragma once

#include "framework/containers/WDL_TypedBuf.h"
#include "plugin/engine/BandCascade.h"
#include "plugin/engine/BandChain.h"
#include "plugin/engine/BandFilter.h"
#include "plugin/engine/BandListen.h"
#include "plugin/engine/ChannelProcessor.h"
#include "plugin/engine/ConvolutionStage.h"
#include "plugin/engine/FirImpulseBuilder.h"
#include "plugin/engine/ParamMirrors.h"

// The twelve bands applied to one block at the processing rate, in the
// filter mode the mirrors hold: "Zero Latency" runs the bands over the
// block (BandCascade), the other modes convolve with the measured response
// of the whole chain.
//
// Four banks of twelve bands: first and second run the per-sample path
// (left or mid, right or side) at the processing rate; display serves the
// EQ curve at twice the host rate and is borrowed by the impulse builder as
// its first channel, fir is the builder's second channel.
//
// Mono buses (anything other than two inputs and two outputs) take the
// right channel's input from input 0; output 0 gets the left channel's
// result in every filter mode (a "Left" band is heard on a mono track, a
// "Right" one is not), the right result going to a buffer of the bank's own.
class FilterBank : public ChannelProcessor {
 public:
  explicit FilterBank(const ParamMirrors* mirrors) : mMirrors(mirrors) {}

  // Allocates for host blocks of up to maxHostBlock frames at any
  // oversampling factor, and resets and designs all four banks (processing
  // rate factor x hostRate).
  void Init(double hostRate, int maxHostBlock, int factor);
  void SetHostRate(double hostRate) { mHostRate = hostRate; }
  // Larger blocks (a new host block size): only the buffers change.
  void SetMaxHostBlock(int maxHostBlock);

  // band -1: all twelve. The process banks get the peak's high-frequency
  // correction only at 1x; their state is kept.
  void DesignProcessBands(int band, int factor);
  void ResetProcessBands();
  void DesignDisplayBands(int band);

  void BuildImpulseResponse(int length, int factor);
  // Returns the convolution latency at the processing rate. The engines'
  // queues are sized for host blocks at this factor.
  int UpdateConvolution(bool resetChannels, bool forceRealign, int factor);

  // ProcessFilterBank: n frames from in to out (in slices of what the
  // convolution was sized for); in and out may be the same buffers.
  void ProcessChannels(double** in, double** out, int n, int nIn, int nOut) override;

  BandListen& GetListen() { return mListen; }
  const BandListen& GetListen() const { return mListen; }
  const BandFilter* GetDisplayBands() const { return mDisplay; }
  const BandFilter* GetFirstBands() const { return mFirst; }
  const BandFilter* GetSecondBands() const { return mSecond; }
  int GetFirLatency() const { return mConvolution.GetLatency(); }
  int GetFirLength() const { return mBuilder.GetLength(); }
  const FirImpulseBuilder& GetImpulse() const { return mBuilder; }
  const ConvolutionStage& GetConvolution() const { return mConvolution; }
  // The section runner variant of the zero-latency path, for tests and
  // benchmarks; the fastest available by default.
  void SetSectionKernel(SectionKernel kernel) { mCascade.SetKernel(kernel); }

 private:
  void RunZeroLatency(const double* in0, const double* in1, double* out0, double* out1, int n);
  void DesignBank(BandFilter* bank, int band, double rate, bool noCorrection);

  const ParamMirrors* mMirrors;
  BandFilter mFirst[kNumBands];
  BandFilter mSecond[kNumBands];
  BandFilter mDisplay[kNumBands];
  BandFilter mFir[kNumBands];
  BandChain mChain;
  BandCascade mCascade;
  BandListen mListen;
  FirImpulseBuilder mBuilder;
  ConvolutionStage mConvolution;
  WDL_TypedBuf<double> mSpareOutput;  // the right output on a mono bus
  // The bands' work with "AB" off, and the idle lane of one-channel runs.
  WDL_TypedBuf<double> mWork[2];
  WDL_TypedBuf<double> mScratch;
  double mHostRate = 44100.0;
  int mMaxHostBlock = 1;
  int mSliceFrames = 1;  // the most frames one convolution call takes
  int mZeroLatencySliceFrames = 4;
  bool mBandsResting = false;  // a FIR block ran since the bands last did
};
