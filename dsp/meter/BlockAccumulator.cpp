#include "dsp/meter/BlockAccumulator.h"

#include <algorithm>

void BlockAccumulator::Reset(int32_t length) {
  ringLength = std::max<int32_t>(1, length);
  ring.assign(static_cast<size_t>(ringLength), 0.0);
  ringIndex = 0;
  runningSum = lastPopped = meanSquare = blockMinimum = blockMaximum = 0.0;
  levelDb[0] = levelDb[1] = loudness = -144.0;
  full = newBlock = hopCounter = 0;
}

int32_t BlockAccumulator::AccumulateBlock(double left, double right) {
  newBlock = 0;
  double p = left * left + right * right;
  if (halveSum == 1) p *= 0.5;
  runningSum += p;
  lastPopped = ring[ringIndex];
  ring[ringIndex] = p;
  ++ringIndex;
  ++hopCounter;
  // Kept in double exactly as written: for a 3 s window at 48 kHz it comes
  // to just under 4800, so the hop falls every 4800 samples.
  const double hop = (1.0 - hopOverlap) * ringLength;

  bool justFilled = false;
  if (ringIndex >= ringLength) {
    ringIndex = 0;
    if (!full) {
      blockMinimum = blockMaximum = runningSum / ringLength;
      full = 1;
      justFilled = true;
    }
  }
  if (!full && !justFilled) {
    if (hopCounter > hop) {
      hopCounter = 0;
      const double m = runningSum / ringLength;
      blockMinimum = m;
      meanSquare = m;
      blockMaximum = std::max(blockMaximum, m);
    }
    return 0;
  }

  runningSum = std::max(0.0, runningSum - lastPopped);
  if (hopCounter > hop) {
    hopCounter = 0;
    const double m = runningSum / ringLength;
    meanSquare = m;
    blockMinimum = std::min(blockMinimum, m);
    blockMaximum = std::max(blockMaximum, m);
    newBlock = 1;
    return 1;
  }
  return 0;
}
