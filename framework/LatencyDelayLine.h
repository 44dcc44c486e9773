#pragma once

#include "framework/containers/WDL_TypedBuf.h"

// Keeps the input delayed by the plug-in's latency so that bypass emits the
// signal aligned with the processed path. Planar: channel c occupies
// [c x length, (c + 1) x length).
class LatencyDelayLine {
 public:
  LatencyDelayLine(int nInputs, int nOutputs, int length);

  // The block size is not known here; a length change reallocates only when
  // the new ring does not fit the block already held.
  void SetLength(int length);
  int GetLength() const { return mLength; }

  // Grows the ring once so that every later SetLength up to maxLength keeps
  // the same block: the latency changes on the audio thread, where nothing
  // may allocate. Length, position and contents stay as they are. False
  // when the memory cannot be had (the ring is then unchanged).
  bool Reserve(int maxLength);
  // Where the ring lives: stays put while lengths stay within a reservation.
  const double* GetStorage() const { return mRing.Get(); }

  // While processing: records the input so the ring stays filled.
  void Record(double** inputs, int nFrames);
  // While bypassed: writes the delayed sample, then stores the new one.
  void Run(double** inputs, double** outputs, int nFrames);

 private:
  int CommonChannels() const { return mInputs < mOutputs ? mInputs : mOutputs; }

  WDL_TypedBuf<double> mRing{4096};
  int mPosition = 0;
  int mInputs;
  int mOutputs;
  int mLength = 0;
};
