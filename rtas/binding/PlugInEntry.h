#pragma once

#include <cstdint>

#include "platform/corefoundation/CFBundle.h"

class CProcessGroupInterface;

// The bundle's exports: NewMachOPlugIn once after loading, CloseMachOPlugIn
// once before unloading, and the data word _PI_GetRoutineDescriptor holding
// the selector lookup. Each selector's entry forwards the host's arguments
// to one group-interface operation through a functor.

typedef int32_t (*LookupEntryRoutineProc)(uint32_t selector, void** routine);

extern "C" {
__attribute__((visibility("default"))) int16_t NewMachOPlugIn(CFBundleRef bundle);
__attribute__((visibility("default"))) void CloseMachOPlugIn(void);
__attribute__((visibility("default"))) extern LookupEntryRoutineProc _PI_GetRoutineDescriptor;
}

// Stores null, then the entry of the selector (0) or -9007 for one without
// an entry or above 175.
int32_t LookupEntryRoutine(uint32_t selector, void** routine);

// Whether a group made by NewMachOPlugIn is initialised and may be reached.
// Entries answer -7003 while there is none.
bool HasUsableGroup();

// Supplied by the bundle: makes its one group. NewMachOPlugIn then runs the
// group's initialisation (its InitProcessGroup).
CProcessGroupInterface* CreateGroup();
