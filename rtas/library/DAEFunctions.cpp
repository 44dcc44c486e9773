#include "rtas/library/DAEFunctions.h"

namespace {

using Gestalt = frameworkfunction::Function<frameworkfunction::DAE, 302, FicGestaltProc,
                                            frameworkfunction::Result::Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING>;

}  // namespace

int16_t FicGestalt(OSType selector, intptr_t* answer) {
  if (answer) *answer = 0;
  return Gestalt{}(selector, answer);
}
