#include "tools/TestSignalSource.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSweepAmplitude = 0.25;  // -12 dBFS
constexpr double kNoiseAmplitude = 0.01;  // -40 dBFS
constexpr double kStartHz = 20.0;
constexpr double kEndHz = 20000.0;
constexpr double kFadeSeconds = 0.01;

}  // namespace

TestSignalSource::TestSignalSource()
    : mFrames(static_cast<uint64_t>(kSeconds * kSampleRate)), mLeft(kWindowFrames), mRight(kWindowFrames) {
  mPtrs[0] = mLeft.data();
  mPtrs[1] = mRight.data();
}

float TestSignalSource::Noise(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  // Uniform in [-1, 1).
  return static_cast<float>(static_cast<double>(state) / 2147483648.0 - 1.0);
}

size_t TestSignalSource::Next(const float* const** channels) {
  if (mPosition >= mFrames) return 0;
  const size_t n = static_cast<size_t>(std::min<uint64_t>(kWindowFrames, mFrames - mPosition));
  // Exponential sweep (Farina): phase = 2 pi f0 T / ln(f1/f0) (e^(t ln(f1/f0) / T) - 1).
  const double duration = static_cast<double>(mFrames) / kSampleRate;
  const double rate = std::log(kEndHz / kStartHz);
  const double fadeFrames = kFadeSeconds * kSampleRate;
  for (size_t i = 0; i < n; ++i) {
    const double frame = static_cast<double>(mPosition + i);
    const double t = frame / kSampleRate;
    const double phase = 2.0 * kPi * kStartHz * duration / rate * (std::exp(t * rate / duration) - 1.0);
    const double fade =
        std::min({1.0, frame / fadeFrames, (static_cast<double>(mFrames) - 1.0 - frame) / fadeFrames});
    const double sweep = kSweepAmplitude * std::sin(phase);
    mLeft[i] = static_cast<float>(fade * (sweep + kNoiseAmplitude * Noise(mNoiseState[0])));
    mRight[i] = static_cast<float>(fade * (sweep + kNoiseAmplitude * Noise(mNoiseState[1])));
  }
  mPosition += n;
  *channels = mPtrs;
  return n;
}
