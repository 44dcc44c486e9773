#pragma once

#include "platform/protools/DAE.h"

// The host-services object the engine gives for gestalt 'pisi', cached
// after the first non-null answer; null while the engine gives none.
SHostServices* GetHostServices();
// Called before the frameworks are released; nothing to give back here.
void ReleaseHostServices();

// Forgets the cached object, as unloading the bundle does.
void ResetHostServices();
