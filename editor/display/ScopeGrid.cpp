#include "editor/display/ScopeGrid.h"

#include <cstdio>

void BuildFrequencyGrid(double (&freqs)[kNumGridFreqs], char (&labels)[kNumGridFreqs][kGridLabelSize]) {
  int idx = 0;
  int decade = 1;
  for (int g = 0; g < 4; ++g, decade *= 10) {
    for (int i = 0; i < 10; ++i, ++idx) {
      freqs[idx] = static_cast<double>(i * decade);
      labels[idx][0] = '\0';
      if (i != 1 && i != 2 && i != 5) continue;
      // Thousands carry their digit and a K.
      if (g < 3) std::snprintf(labels[idx], kGridLabelSize, "%d", i * decade);
      else std::snprintf(labels[idx], kGridLabelSize, "%dK", i);
    }
  }
  const int tensOfKilohertz[2] = {10, 20};
  for (int tens : tensOfKilohertz) {
    freqs[idx] = tens * 1000.0;
    std::snprintf(labels[idx], kGridLabelSize, "%dK", tens);
    ++idx;
  }
}
