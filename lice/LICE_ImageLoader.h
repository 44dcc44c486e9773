#pragma once

#include "lice/LICE_IBitmap.h"

// The list of image readers, one record per file type, registered at
// start-up before anything loads. Nothing in this system walks it; it is
// there for an open dialog or a generic loader to find the types.
struct ImageLoaderRecord {
  // (path, checkExtension, bitmap): as LICE_LoadPNGIfExtension.
  LICE_IBitmap* (*loadfunc)(const char* path, bool checkExtension, LICE_IBitmap* bitmap);
  // Description and pattern strings, each ended by a NUL, the list by an
  // empty string.
  const char* (*get_extlist)();
  ImageLoaderRecord* _next;
};

extern ImageLoaderRecord* ImageLoaderListHead;

// "PNG files (*.PNG)", "*.PNG", "".
const char* LICE_PNGTypeDescription();
