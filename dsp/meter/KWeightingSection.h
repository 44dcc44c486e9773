#pragma once

// One second-order section of the ITU-R BS.1770 K-weighting: the high-shelf
// pre-filter or the RLB high-pass, designed from its analogue constants by
// the bilinear transform at any sample rate.
struct KWeightingSection {
  double x1, x2;
  double input;
  double y1, y2;
  double output;
  double sampleRate;
  // Design constants: centre frequency; pre-filter Vb, 1.0, Vh, Q; high-pass
  // 0, 0, Vh', Q.
  double centreHz;
  double vb;
  double unity;
  double vh;
  double q;
  double k, k2;
  double a0;
  double divisor;  // 1.0
  double a1, a2;
  double b0, b1, b2;
  double lastOutput;

  void DesignPreFilter(double sampleRateHz);
  void DesignHighPass(double sampleRateHz);
  void Clear();

  // The 1e-25 on input and output keeps silence out of denormal numbers.
  double Process(double x) {
    x += 1e-25;
    const double y = (b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2) / divisor + 1e-25;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    input = x;
    output = y;
    lastOutput = y;
    return y;
  }
};
