#pragma once

#include <random>
#include <vector>

// A reproducible white signal in [-1, 1) for comparisons against direct
// computations.
inline std::vector<double> RandomSignal(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> d(-1.0, 1.0);
  std::vector<double> v(static_cast<size_t>(n));
  for (double& x : v) x = d(rng);
  return v;
}
