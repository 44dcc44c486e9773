#pragma once

#include "platform/corefoundation/CFBase.h"
#include "platform/corefoundation/CFString.h"

// Stand-in for file URLs: an absolute POSIX path and whether it names a
// folder. Relative paths are taken from the working folder when the URL is
// made.
extern "C" {

typedef const struct CFURLObject* CFURLRef;
typedef CFIndex CFURLPathStyle;
enum : CFURLPathStyle { kCFURLPOSIXPathStyle = 0 };

// A file-system reference: here only the proof that the path exists.
struct FSRef {
  unsigned char hidden[80];
};

// Only the POSIX style is understood; another style gives null.
CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef path, CFURLPathStyle style,
                                       Boolean isDirectory);
CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef allocator, CFURLRef url, CFStringRef component,
                                               Boolean isDirectory);
// The folder above; the root stays the root.
CFURLRef CFURLCreateCopyDeletingLastPathComponent(CFAllocatorRef allocator, CFURLRef url);
// The path without a trailing "/" (except for the root).
CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle style);
Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase, unsigned char* buffer,
                                         CFIndex maxBufLen);
Boolean CFURLHasDirectoryPath(CFURLRef url);
// True when something exists at the path ("stat" succeeds).
Boolean CFURLGetFSRef(CFURLRef url, FSRef* ref);

}  // extern "C"
