#pragma once

#include <cstdint>
#include <string>

// What a run prints on standard output.
struct RunReport {
  int latency = 0;  // samples at the host rate, as the plug-in reports it after the run
  std::string inputMeter;   // the editor's readout texts ("-6.0", "-inf")
  std::string outputMeter;
  int meterMode = 0;  // "Main Meter Mode" of the readouts: what their numbers measure
  // Integer output only: samples beyond full scale, which the file holds
  // clipped, and the largest magnitude written (1.0 is full scale).
  int bits = 32;
  uint64_t clippedSamples = 0;
  double peak = 0.0;
};

// The unit and measure a readout in a "Main Meter Mode" is given in:
// "dBFS peak", "dBFS RMS", "LUFS (EBU M)", "LUFS (EBU S)", "VU". Modes
// outside the list meter as Peak does, and say so.
const char* MeterUnit(int meterMode);

// "input meter: TEXT UNIT" and "output meter: TEXT UNIT", a line each.
std::string FormatMeterLines(const RunReport& report);

// "latency: N", then the meter lines.
std::string FormatReport(const RunReport& report);

// "N samples clipped at B bits (peak +X.X dBFS)" without the program's
// prefix, or "" when nothing clipped.
std::string FormatClipWarning(const RunReport& report);
