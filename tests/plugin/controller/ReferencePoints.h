#pragma once

// The reference points every capture uses, listed here from their
// definition: every second R80 preferred number from 10 Hz up to 20 kHz,
// then 22050 Hz.

#include <vector>

namespace referencetest {

inline std::vector<double> CapturePointFrequencies() {
  static const double kR40[40] = {1.00, 1.06, 1.12, 1.18, 1.25, 1.32, 1.40, 1.50, 1.60, 1.70,
                                  1.80, 1.90, 2.00, 2.12, 2.24, 2.36, 2.50, 2.65, 2.80, 3.00,
                                  3.15, 3.35, 3.55, 3.75, 4.00, 4.25, 4.50, 4.75, 5.00, 5.30,
                                  5.60, 6.00, 6.30, 6.70, 7.10, 7.50, 8.00, 8.50, 9.00, 9.50};
  std::vector<double> f;
  for (double decade = 10.0; decade <= 10000.0; decade *= 10.0) {
    for (double r : kR40) {
      if (r * decade < 20000.0) f.push_back(r * decade);
    }
  }
  f.push_back(20000.0);
  f.push_back(22050.0);
  return f;
}

}  // namespace referencetest
