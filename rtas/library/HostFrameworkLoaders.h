#pragma once

#include "platform/carboncore/MacTypes.h"
#include "platform/corefoundation/CFBundle.h"

// Finding the host's frameworks as bundles and loading their code. Each
// loader answers 0 or a host code and fills *bundle with a retained,
// loaded bundle:
//   -9064  the framework's path does not exist in that folder
//   -9065  no bundle under that identifier or at that path, its code does
//          not load, or the path text is unusable
// Identifiers, folders and file names are counted strings (Mac Roman).

// The identifiers of the host's frameworks, as counted strings.
ConstStr255Param DAEFrameworkIdentifier();
ConstStr255Param DSIFrameworkIdentifier();
ConstStr255Param DSPManagerFrameworkIdentifier();
ConstStr255Param StreamManagerFrameworkIdentifier();

// A bundle the process already knows under the identifier; 0 at once when
// *bundle is already set.
OSErr LoadBundleByIdentifier(ConstStr255Param identifier, CFBundleRef* bundle);
// The file name appended to the folder; *bundle is untouched on -9064.
OSErr LoadBundleInFolder(CFURLRef folder, ConstStr255Param fileName, CFBundleRef* bundle);
// The folder given as a POSIX path.
OSErr LoadBundleAtPath(ConstStr255Param folderPath, ConstStr255Param fileName, CFBundleRef* bundle);
// The folder of the host application, then "/Library/Frameworks/"; the
// status of the second attempt when both fail. 0 at once when *bundle is
// already set.
OSErr LoadHostFramework(ConstStr255Param fileName, CFBundleRef* bundle);
OSErr LoadDAEFramework(CFBundleRef* bundle);
OSErr LoadStreamManagerFramework(CFBundleRef* bundle);

// Exact, case-sensitive comparisons with the framework's identifier.
bool IsDAEIdentifier(ConstStr255Param identifier);
bool IsStreamManagerIdentifier(ConstStr255Param identifier);
