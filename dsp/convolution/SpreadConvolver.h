#pragma once

#include <cstdint>

#include "dsp/convolution/SlicedFFT.h"
#include "framework/containers/WDL_TypedBuf.h"

// Convolves two channels, each with an impulse of its own, at a fixed
// latency, with about the same work in every call however the calls are
// cut: a host's deadline is its slowest block, not its average.
//
// The impulse is cut into partitions of B samples, B the largest power of
// two with 2B <= latency (the rest of the latency is a delay put in front
// of the impulse). The input is taken a partition at a time: the two
// channels share one complex transform of 2B points (channel 0 real,
// channel 1 imaginary), kept as a spectrum for as long as a partition of
// the impulse needs it. A partition's transforms, products and inverse are
// due B samples after it is complete, and are spread over those B samples
// in steps of a fixed size (SlicedFFT), each call taking the steps its
// frames have earned, the steps weighed by what they cost.
//
// An impulse that is a plain delay in both channels (one non-zero tap, the
// rest rounding at most) runs as a delay, with no transform at all.
//
// Not thread-safe. SetImpulse allocates and transforms; Reset and Process
// do not allocate.
class SpreadConvolver {
 public:
  static constexpr int kMinLatency = 4;

  // Loads an impulse: h0 for channel 0, h1 for channel 1 (null: h0), each
  // `length` samples. The output is then the exact convolution delayed by
  // `latency` samples (raised to kMinLatency). With the latency and the
  // partition count as before, the stream goes on as if the new impulse had
  // always been loaded (recent input is kept for that); otherwise it starts
  // again from silence. False when memory cannot be had: the output is then
  // silence.
  bool SetImpulse(const double* h0, const double* h1, int length, int latency);
  // The state after a run of silence; the impulse is kept.
  void Reset();
  // n frames of two channels; out may be in.
  void Process(const double* const* in, double* const* out, int n);

  int GetLatency() const { return mLatency; }
  int GetPartitionSize() const { return mBlock; }
  int GetPartitionCount() const { return mParts; }
  bool IsPlainDelay() const { return mPlainDelay; }
  // One partition's work and the work done since construction, in the
  // units the steps are weighed in (the heaviest step weighs
  // GetHeaviestStep()): how the work falls on the calls.
  int64_t GetWorkPerPartition() const { return Ready() ? mTaskWeight : 0; }
  int64_t GetWorkDone() const { return mWorkDone; }
  int GetHeaviestStep() const;

 private:
  bool Allocate(int block, int parts);
  bool Ready() const { return mBlock > 0; }
  int TaskSteps() const;
  // What step `step` of a partition's work costs, in rough units (a pass
  // step is 2), and what all of them cost together.
  int StepWeight(int step) const;
  int64_t TaskWeight() const;
  double* Slot(int64_t block) { return mSlots.Get() + static_cast<size_t>(block % (mParts + 1)) * 4 * mBlock; }
  // Input frames into the ring (flushed) and into the collecting slot.
  void Collect(const double* in0, const double* in1, int span, bool toRing);
  void StartTask(int64_t block);
  // The task in flight takes the steps due after `elapsed` of its B frames.
  void Pace(int elapsed);
  void RunStep(int step);
  void MultiplyChunk(int chunk);
  void OverlapChunk(int chunk);
  void Emit(double* out0, double* out1, int span, int64_t time);
  // Rebuilds the state from the input ring with the impulse now loaded.
  void Replay();
  bool LoadSpectra(const double* h0, const double* h1, int length, bool shared);

  SlicedFFT mFFT;
  int mLatency = 0;
  int mBlock = 0;  // B; 0 while nothing is loaded
  int mParts = 0;
  int mShift = 0;  // the latency beyond 2B, put in front of the impulse
  int mRingSize = 0;
  bool mPlainDelay = false;
  bool mShared = false;  // both channels' impulses the same
  double mGain[2] = {0.0, 0.0};
  int mDelay[2] = {0, 0};
  // Per partition, the spectra A = (H0 + H1) / 2 and D = (H0 - H1) / 2 (D
  // only when the impulses differ), scaled by 1 / 2B.
  WDL_TypedBuf<double> mSpectraA, mSpectraD;
  WDL_TypedBuf<double> mSlots;  // parts + 1 input partitions, 2B points each
  WDL_TypedBuf<double> mSum;
  WDL_TypedBuf<double> mOut[2];  // output partitions, alternately
  WDL_TypedBuf<double> mTail;
  WDL_TypedBuf<double> mRing[2];
  int64_t mTime = 0;
  int64_t mTaskBlock = -1;
  int mTaskStep = 0;
  int64_t mTaskWeightDone = 0;
  int64_t mTaskWeight = 0;
  int64_t mWorkDone = 0;
};
