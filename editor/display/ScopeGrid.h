#pragma once

// The graph's vertical grid: four decades of ten values each (i * 10^g for
// i = 0..9, g = 0..3, so each decade starts with a 0 that is never drawn),
// then 10 kHz and 20 kHz. Labels stand at 1, 2 and 5 of each decade; every
// other label is the empty text.
constexpr int kNumGridFreqs = 42;
constexpr int kGridLabelSize = 20;

void BuildFrequencyGrid(double (&freqs)[kNumGridFreqs], char (&labels)[kNumGridFreqs][kGridLabelSize]);
