#include "dsp/analyzer/CPluginProcessor.h"

double CPluginProcessor::GetInfoDouble(int) { return 0.0; }

intptr_t CPluginProcessor::GetInfoInt(int) { return 0; }
