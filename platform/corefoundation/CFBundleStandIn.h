#pragma once

#include <cstddef>

#include "platform/corefoundation/CFBundle.h"

// What a host program or a test does with bundles beyond the Mac's calls.
namespace platform {

struct BundleSymbol {
  const char* name;
  void* address;
};

// An in-memory bundle known by the identifier, whose "code" is the table:
// function and data lookups answer from it. The caller owns the reference
// (CFRelease). The table is copied.
CFBundleRef CreateSymbolBundle(const char* identifier, const BundleSymbol* symbols, size_t count);
// While set, loading the bundle's code fails (as a missing or broken
// executable would).
void SetBundleLoadFails(CFBundleRef bundle, bool fails);
// The folder read as the resource map of a symbol bundle (none by default).
void SetBundleResourceFolder(CFBundleRef bundle, const char* folder);
// Makes the main bundle the program at the path: an executable file, whose
// folder is then the host application's folder, or one inside
// <X>/Contents/MacOS/, which makes <X> the main bundle. Null or "" goes back
// to this process's own executable.
void SetMainBundleExecutablePath(const char* path);

// Keeps the bundle's code loaded for the life of the process, whatever
// later unloads it: what a host that links the library itself sees. False
// when the code does not load.
bool KeepBundleCodeLoaded(CFBundleRef bundle);

// A bundle's executable may export this function to hide names from
// CFBundleGetFunctionPointerForName and CFBundleGetDataPointerForName, as an
// older build of that library would lack them.
typedef int (*BundleHidesSymbolProc)(const char* name);
constexpr const char* kBundleHidesSymbolName = "CFStandInBundleHidesSymbol";

}  // namespace platform
