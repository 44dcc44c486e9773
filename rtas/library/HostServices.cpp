#include "rtas/library/HostServices.h"

#include "rtas/library/DAEFunctions.h"

namespace {

SHostServices* gHostServices = nullptr;

}  // namespace

SHostServices* GetHostServices() {
  if (gHostServices) return gHostServices;
  intptr_t answer = 0;
  if (FicGestalt(ficgestalt::kHostServices, &answer) == noErr) gHostServices = reinterpret_cast<SHostServices*>(answer);
  return gHostServices;
}

void ReleaseHostServices() {}

void ResetHostServices() { gHostServices = nullptr; }
