#pragma once

#include <string>

// What a run prints on standard output.
struct RunReport {
  int latency = 0;  // samples at the host rate, as the plug-in reports it after the run
  std::string inputMeter;   // the editor's readout texts ("-6.0", "-inf")
  std::string outputMeter;
};

// "latency: N", "input meter: TEXT", "output meter: TEXT", a line each.
std::string FormatReport(const RunReport& report);
