#include "plugin/controller/Brimlow.h"

void Brimlow::SyncCurveSelection(int) {}
void Brimlow::ClearCurveSelection() {}
