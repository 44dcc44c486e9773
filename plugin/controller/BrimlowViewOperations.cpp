#include "plugin/controller/Brimlow.h"

void Brimlow::RecomputeFrequencyRange() {}
void Brimlow::RecomputeAxisRanges() {}
void Brimlow::ApplyEQScale(double) {}
void Brimlow::ResetFrequencyView() {}
void Brimlow::ResetGainView() {}
void Brimlow::ResetEQScale() {}
void Brimlow::PanFrequencyView() {}
void Brimlow::PanGainView() {}
void Brimlow::ZoomFrequencyBySteps(int) {}
void Brimlow::ZoomFrequencyStep(int) {}
void Brimlow::ZoomEQScaleBySteps(int) {}
void Brimlow::ZoomEQScaleStep(int) {}
