#include "plugin/controller/Brimlow.h"

void Brimlow::OnGraphEvent(RedesignRequest&) {}
