#pragma once

#include <vector>

#include "tools/AudioSource.h"

// The demo's built-in input, made on the fly and the same on every run: a
// logarithmic sine sweep from 20 Hz to 20 kHz at -12 dBFS on both channels,
// with white noise at -40 dBFS that differs between the channels, faded in
// and out over 10 ms so that neither end clicks.
class TestSignalSource : public AudioSource {
 public:
  static constexpr uint32_t kSampleRate = 48000;
  static constexpr double kSeconds = 2.0;

  TestSignalSource();

  int Channels() const override { return 2; }
  uint32_t SampleRate() const override { return kSampleRate; }
  uint64_t Frames() const override { return mFrames; }
  size_t Next(const float* const** channels) override;

 private:
  static constexpr size_t kWindowFrames = 4096;

  // xorshift32: no library generator, so the signal is the same everywhere.
  static float Noise(uint32_t& state);

  uint64_t mFrames;
  uint64_t mPosition = 0;
  uint32_t mNoiseState[2] = {0x12345678u, 0x9E3779B9u};
  std::vector<float> mLeft, mRight;
  const float* mPtrs[2];
};
