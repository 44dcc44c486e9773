#include "dsp/meter/MeterDelayRing.h"

#include <algorithm>

void MeterDelayRing::Init(int32_t capacitySamples, int32_t delaySamples) {
  capacity = std::max<int32_t>(0, capacitySamples);
  delayRing.assign(static_cast<size_t>(std::max<int32_t>(capacity, 1)), 0.0);
  length = capacity;
  index = 0;
  // A negative delay would index before the ring: it means no delay.
  const int32_t d = std::max<int32_t>(0, delaySamples);
  if (length != d) length = std::min(d, capacity);
}
