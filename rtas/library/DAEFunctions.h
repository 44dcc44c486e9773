#pragma once

#include "platform/protools/DAE.h"
#include "rtas/library/FrameworkFunction.h"
#include "rtas/library/FrameworkFunctionList.h"

// The wrappers of the audio engine's functions, one per row of
// BRIMLOW_DAE_FUNCTIONS: FicDelete(object) calls the engine's FicDelete
// through the access object, or answers -2812 / -2802 (handles and objects
// answer 0, so a missing engine never hands out a code as a handle).

#define BRIMLOW_DAE_WRAPPER(name, index, result, notLoaded, missing)                                  \
  inline constexpr frameworkfunction::Function<frameworkfunction::DAE, index, name##Proc,              \
                                               frameworkfunction::Result::result, notLoaded, missing> \
      name{};
BRIMLOW_DAE_FUNCTIONS(BRIMLOW_DAE_WRAPPER)
#undef BRIMLOW_DAE_WRAPPER

// The answer is cleared before the call, so a caller reading it after a
// fallback (which writes nothing) sees 0, not stale memory.
int16_t FicGestalt(OSType selector, intptr_t* answer);
