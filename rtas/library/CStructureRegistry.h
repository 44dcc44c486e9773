#pragma once

#include <cstdint>

#include "platform/protools/HostCallbacks.h"

// The host's registry of the plug-in's native objects (ports, workers,
// data, the plug-in), asked for once through the host callback (selector
// 18). Without a registry every operation answers 0; a request that failed
// is not repeated.
class CStructureRegistry {
 public:
  static int16_t Register(void* object, uint8_t kind);
  static int16_t Unregister(void* object);
  static int16_t Describe(void* object, const SWordArraySnapshot* description);

  // Forgets the registry and the failed request, as unloading the bundle does.
  static void Reset();

 private:
  static SStructureRegistry* Registry();
};
