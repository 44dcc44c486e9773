#include "framework/LatencyDelayLine.h"

#include <cstring>

LatencyDelayLine::LatencyDelayLine(int nInputs, int nOutputs, int length) : mInputs(nInputs), mOutputs(nOutputs) {
  SetLength(length);
}

void LatencyDelayLine::SetLength(int length) {
  if (length < 0) length = 0;
  const long long doubles = static_cast<long long>(length) * mInputs;
  if (doubles > 0x7fffffff / static_cast<long long>(sizeof(double))) length = 0;
  mRing.Resize(length * mInputs, false);
  mLength = mRing.GetSize() == length * mInputs ? length : 0;
  if (mRing.Get()) std::memset(mRing.Get(), 0, static_cast<size_t>(mRing.GetSize()) * sizeof(double));
  mPosition = 0;
}

void LatencyDelayLine::Record(double** inputs, int nFrames) {
  if (mLength == 0 || !mRing.Get()) return;
  double* ring = mRing.Get();
  const int channels = CommonChannels();
  for (int frame = 0; frame < nFrames; ++frame) {
    for (int c = 0; c < channels; ++c) ring[c * mLength + mPosition] = inputs[c][frame];
    mPosition = (mPosition + 1) % mLength;
  }
}

void LatencyDelayLine::Run(double** inputs, double** outputs, int nFrames) {
  if (mLength == 0 || !mRing.Get()) return;
  double* ring = mRing.Get();
  const int channels = CommonChannels();
  for (int frame = 0; frame < nFrames; ++frame) {
    for (int c = 0; c < channels; ++c) {
      double& slot = ring[c * mLength + mPosition];
      outputs[c][frame] = slot;
      slot = inputs[c][frame];
    }
    mPosition = (mPosition + 1) % mLength;
  }
}

bool LatencyDelayLine::Reserve(int maxLength) {
  if (maxLength <= 0 || mInputs <= 0) return true;
  const long long doubles = static_cast<long long>(maxLength) * mInputs;
  if (doubles > 0x7fffffff / static_cast<long long>(sizeof(double))) return false;
  const int current = mLength * mInputs;
  if (doubles <= current) return true;
  // Growing keeps the held samples; shrinking back without allowShrink
  // keeps the block, so later lengths up to maxLength fit without moving.
  mRing.Resize(static_cast<int>(doubles), false);
  const bool grown = mRing.GetSize() == doubles;
  mRing.Resize(current, false);
  return grown;
}
