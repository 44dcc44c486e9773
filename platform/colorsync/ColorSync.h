#pragma once

#include "platform/carboncore/MacTypes.h"

// Stand-in for the ColorSync profile of the main display. There is one
// display and it has a profile, which carries nothing.
typedef struct OpaqueCMProfileRef* CMProfileRef;

OSErr CMGetSystemProfile(CMProfileRef* profile);
OSErr CMCloseProfile(CMProfileRef profile);
