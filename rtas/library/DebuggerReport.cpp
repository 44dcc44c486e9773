#include "rtas/library/DebuggerReport.h"

#include <cstdio>

namespace {

void ToStandardError(const char* message) { std::fprintf(stderr, "%s\n", message); }

DebuggerSink gSink = ToStandardError;

}  // namespace

void ReportToDebugger(const char* message) { gSink(message ? message : ""); }

void SetDebuggerSink(DebuggerSink sink) { gSink = sink ? sink : ToStandardError; }
