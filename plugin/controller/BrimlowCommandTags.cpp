#include "plugin/controller/Brimlow.h"

void Brimlow::OnCommandTag(int, RedesignRequest&) {}
