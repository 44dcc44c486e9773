#include "tools/Report.h"

std::string FormatReport(const RunReport& report) {
  return "latency: " + std::to_string(report.latency) + "\ninput meter: " + report.inputMeter +
         "\noutput meter: " + report.outputMeter + "\n";
}
