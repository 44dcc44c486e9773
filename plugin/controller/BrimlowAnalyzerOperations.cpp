#include "plugin/controller/Brimlow.h"

void Brimlow::ResetAnalyzer(SpectrumAnalyzer&) {}
void Brimlow::ApplyAnalyzerSpeed() {}
void Brimlow::ReconfigureAnalyzers(bool) {}
void Brimlow::ResetMeters() {}
