#include "framework/LatencyDelayLine.h"

#include <algorithm>
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

// Both walk the ring in spans up to its end, a copy per span and channel.
void LatencyDelayLine::Record(double** inputs, int nFrames) {
  if (mLength == 0 || !mRing.Get()) return;
  double* ring = mRing.Get();
  const int channels = CommonChannels();
  for (int done = 0; done < nFrames;) {
    const int span = std::min(nFrames - done, mLength - mPosition);
    for (int c = 0; c < channels; ++c) {
      std::memcpy(ring + c * mLength + mPosition, inputs[c] + done, static_cast<size_t>(span) * sizeof(double));
    }
    done += span;
    mPosition = (mPosition + span) % mLength;
  }
}

void LatencyDelayLine::Run(double** inputs, double** outputs, int nFrames) {
  if (mLength == 0 || !mRing.Get()) return;
  double* ring = mRing.Get();
  const int channels = CommonChannels();
  for (int done = 0; done < nFrames;) {
    const int span = std::min(nFrames - done, mLength - mPosition);
    for (int c = 0; c < channels; ++c) {
      double* slot = ring + c * mLength + mPosition;
      const double* in = inputs[c] + done;
      double* out = outputs[c] + done;
      // The output may be the input itself: each sample is read before
      // its place is written, as one frame at a time would.
      for (int i = 0; i < span; ++i) {
        const double x = in[i];
        out[i] = slot[i];
        slot[i] = x;
      }
    }
    done += span;
    mPosition = (mPosition + span) % mLength;
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
