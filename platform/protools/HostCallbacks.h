#pragma once

#include <cstdint>

#include "platform/protools/HostWords.h"

// What the host hands the plug-in to call back: the callback procedure
// (group selector 14) and, through its selector 18, the structure registry.
extern "C" {

struct ComponentRecord;
// (callback selector, component, parameter block handle) -> 16-bit status.
typedef int16_t (*HostCallbackProc)(int16_t selector, ComponentRecord* component, char** parameters);

// Selector 18: the third argument is the address of an SStructureRegistry*
// that the host fills.
constexpr int16_t kHostCallbackStructureRegistry = 18;

// The host's registry of the plug-in's native objects.
struct SStructureRegistry;
struct SStructureRegistryVtbl {
  int32_t (*Register)(SStructureRegistry* self, void* object, uint8_t kind);
  int32_t (*Unregister)(SStructureRegistry* self, void* object);
  int32_t (*Describe)(SStructureRegistry* self, void* object, const SWordArraySnapshot* description);
};
struct SStructureRegistry {
  const SStructureRegistryVtbl* mVtbl;
};

}  // extern "C"
