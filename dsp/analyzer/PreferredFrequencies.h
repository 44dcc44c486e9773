#pragma once

// The 400 preferred frequencies of the analysers: the Renard R80 series
// (ISO 3) over five decades, entry i = R80[i mod 80] x 10^(i div 80), from
// 1.0 Hz to 97,500 Hz. The first 80 entries lie below 10 Hz.
constexpr int kPreferredFrequencyCount = 400;
constexpr int kPreferredFrequenciesBelow10Hz = 80;

// The table, built once (thread-safe) and never changed.
const double* PreferredFrequencyTable();
