#pragma once

#include <cstdint>
#include <vector>

// The meter's own input delay for one channel: up to one second.
struct MeterDelayRing {
  std::vector<double> delayRing;
  int32_t capacity = 0;
  int32_t length = 0;  // 0: no delay
  int32_t index = 0;

  // A zeroed ring of `capacitySamples`; the delay is clamped to 0..capacity.
  void Init(int32_t capacitySamples, int32_t delaySamples);

  double Push(double x) {
    if (length == 0) return x;
    const double out = delayRing[index];
    delayRing[index] = x;
    if (++index >= length) index = 0;
    return out;
  }
};
