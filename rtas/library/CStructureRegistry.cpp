#include "rtas/library/CStructureRegistry.h"

#include "rtas/library/HostCallback.h"

namespace {

SStructureRegistry* gRegistry = nullptr;
bool gRequestFailed = false;

}  // namespace

SStructureRegistry* CStructureRegistry::Registry() {
  HostCallbackProc host = GetHostCallbackProcedure();
  if (!gRegistry && !gRequestFailed && host) {
    SStructureRegistry* registry = nullptr;
    const int16_t status = host(kHostCallbackStructureRegistry, nullptr, reinterpret_cast<char**>(&registry));
    if (status != 0 || !registry) {
      gRequestFailed = true;
    } else {
      gRegistry = registry;
    }
  }
  return gRegistry;
}

int16_t CStructureRegistry::Register(void* object, uint8_t kind) {
  SStructureRegistry* registry = Registry();
  return registry ? static_cast<int16_t>(registry->mVtbl->Register(registry, object, kind)) : 0;
}

int16_t CStructureRegistry::Unregister(void* object) {
  SStructureRegistry* registry = Registry();
  return registry ? static_cast<int16_t>(registry->mVtbl->Unregister(registry, object)) : 0;
}

int16_t CStructureRegistry::Describe(void* object, const SWordArraySnapshot* description) {
  SStructureRegistry* registry = Registry();
  return registry ? static_cast<int16_t>(registry->mVtbl->Describe(registry, object, description)) : 0;
}

void CStructureRegistry::Reset() {
  gRegistry = nullptr;
  gRequestFailed = false;
}
