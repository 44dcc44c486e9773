#include "rtas/library/CStructureRegistry.h"

namespace {

CStructureRegistry* gRegistry = nullptr;

}  // namespace

CStructureRegistry* GetStructureRegistry() { return gRegistry; }

void SetStructureRegistry(CStructureRegistry* registry) { gRegistry = registry; }
