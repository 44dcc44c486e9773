#pragma once

#include "platform/corefoundation/CFBase.h"
#include "platform/corefoundation/CFString.h"
#include "platform/corefoundation/CFURL.h"

// Stand-in for Core Foundation bundles. A folder bundle is laid out as on
// the Mac: <Name>.<ext>/Contents/Info.plist (CFBundleIdentifier and
// CFBundleExecutable as <key>/<string> pairs of the top <dict>),
// Contents/MacOS/<executable> (an ELF shared object, loaded with
// dlopen(RTLD_NOW | RTLD_LOCAL) once it is seen to be whole) and
// Contents/Resources/, whose <executable>.rsrc folder is the bundle's
// resource map. Every live bundle is known by its identifier; the main
// bundle is the host program (see CFBundleStandIn.h for the bundles a host
// or a test makes itself). An information file that is not a regular file
// of reasonable size is not read: the bundle then has no identifier and
// no executable.
extern "C" {

typedef struct CFBundleObject* CFBundleRef;

// The live bundle at that folder (retained once more), or a new one; null
// when the folder does not exist.
CFBundleRef CFBundleCreate(CFAllocatorRef allocator, CFURLRef bundleURL);
// The first live bundle made with that identifier; not retained.
CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID);
CFBundleRef CFBundleGetMainBundle(void);
CFStringRef CFBundleGetIdentifier(CFBundleRef bundle);
CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle);
CFURLRef CFBundleCopyResourcesDirectoryURL(CFBundleRef bundle);
// Null when the bundle names no executable.
CFURLRef CFBundleCopyExecutableURL(CFBundleRef bundle);

Boolean CFBundleLoadExecutable(CFBundleRef bundle);
Boolean CFBundleIsExecutableLoaded(CFBundleRef bundle);
void CFBundleUnloadExecutable(CFBundleRef bundle);
// Loads the code first when needed, as the Mac does.
void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName);
void* CFBundleGetDataPointerForName(CFBundleRef bundle, CFStringRef symbolName);

// Opens the bundle's resource map as a new resource file and makes it
// current (a bundle without one gets an empty map); -1 for no bundle.
short CFBundleOpenBundleResourceMap(CFBundleRef bundle);
void CFBundleCloseBundleResourceMap(CFBundleRef bundle, short refNum);

}  // extern "C"
