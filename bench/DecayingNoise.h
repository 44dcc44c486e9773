#pragma once

#include <cmath>
#include <random>
#include <vector>

// n samples of uniform noise in [-1, 1) under an exponential decay to e^-8
// at the end: an impulse shaped as the filter modes' long ones are, or an
// input block. The same seed gives the same samples.
inline std::vector<double> DecayingNoise(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> h(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) h[static_cast<size_t>(i)] = dist(rng) * std::exp(-8.0 * i / n);
  return h;
}
