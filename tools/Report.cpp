#include "tools/Report.h"

#include <cmath>
#include <cstdio>

const char* MeterUnit(int meterMode) {
  switch (meterMode) {
    // The RMS meter is lifted by 3 dB, so a full-scale sine reads 0 on it
    // as on the peak meter: the AES17 sense of dBFS.
    case 1: return "dBFS RMS";
    case 2: return "LUFS (EBU M)";
    case 3: return "LUFS (EBU S)";
    // 0 VU stands at -18 dBFS.
    case 4: return "VU";
    default: return "dBFS peak";
  }
}

std::string FormatMeterLines(const RunReport& report) {
  const std::string unit = MeterUnit(report.meterMode);
  return "input meter: " + report.inputMeter + " " + unit + "\noutput meter: " + report.outputMeter + " " + unit +
         "\n";
}

std::string FormatReport(const RunReport& report) {
  return "latency: " + std::to_string(report.latency) + "\n" + FormatMeterLines(report);
}

std::string FormatClipWarning(const RunReport& report) {
  if (report.clippedSamples == 0) return "";
  char peak[32];
  std::snprintf(peak, sizeof peak, "%+.1f", 20.0 * std::log10(report.peak));
  return std::to_string(report.clippedSamples) + (report.clippedSamples == 1 ? " sample" : " samples") +
         " clipped at " + std::to_string(report.bits) + " bits (peak " + peak + " dBFS)";
}
