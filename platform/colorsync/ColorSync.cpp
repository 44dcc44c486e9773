#include "platform/colorsync/ColorSync.h"

struct OpaqueCMProfileRef {
  int unused;
};

OSErr CMGetSystemProfile(CMProfileRef* profile) {
  if (!profile) return paramErr;
  *profile = new OpaqueCMProfileRef{0};
  return noErr;
}

OSErr CMCloseProfile(CMProfileRef profile) {
  delete profile;
  return noErr;
}
