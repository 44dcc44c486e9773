#pragma once

#include <cstdint>
#include <vector>

// Mean square of a stereo signal over a sliding window, refreshed at a hop:
// a running sum over a ring of per-sample powers, so each sample costs the
// same whatever the window length.
struct BlockAccumulator {
  std::vector<double> ring;
  double windowSeconds = 0.4;
  int32_t ringLength = 1;
  // Fraction of the window two successive blocks share; the hop is
  // (1 - hopOverlap) ringLength samples (1.0: every sample).
  double hopOverlap = 0.75;
  int32_t ringIndex = 0;
  double runningSum = 0.0;
  double lastPopped = 0.0;
  double meanSquare = 0.0;
  double blockMinimum = 0.0;
  double blockMaximum = 0.0;
  double levelDb[2] = {-144.0, -144.0};
  double loudness = -144.0;  // LUFS of the last block
  int32_t full = 0;
  int32_t newBlock = 0;
  int32_t hopCounter = 0;
  int32_t halveSum = 0;  // 1: the power of a pair is halved (a mean of the channels)

  // A ring of `length` zeros with every sum, index and flag cleared.
  void Reset(int32_t length);
  // Returns 1 when a block value was produced at this sample (window full
  // and at a hop), else 0. Until the window is full the value is the
  // partial sum divided by the whole window length.
  int32_t AccumulateBlock(double left, double right);
};
