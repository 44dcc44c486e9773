#pragma once

#include "platform/carboncore/MacTypes.h"

// Stand-in for the Resource Manager. Open resource files form a chain, the
// newest first, above an empty system file (reference number 0); one file
// is current. The Get1 calls search the current file only; GetResource,
// GetIndString and GetPixPat search from the current file down the chain.
// A file is read from a folder: one folder per resource type (its four
// characters, with bytes outside '!'..'~' and '/' or '%' written as %XX),
// holding one file per resource named "<id>" or "<id> <name>" (the name
// escaped the same way), whose bytes are the resource data as stored on
// the Mac (big-endian). Results of the last call are kept per thread.
extern "C" {

typedef struct PixPat PixPat;
// The pattern's resource data in a handle of its own.
typedef PixPat** PixPatHandle;

short CurResFile(void);
// An unknown reference number leaves the current file as it was (resFNotFound).
void UseResFile(short refNum);
// The closed file's attached resource handles are freed; detached ones live on.
void CloseResFile(short refNum);
OSErr ResError(void);

Handle Get1Resource(ResType type, ResID id);
Handle Get1NamedResource(ResType type, ConstStr255Param name);
// Resources of the type in the current file, and the index-th of them
// (from 1) in ascending id order.
short Count1Resources(ResType type);
Handle Get1IndResource(ResType type, short index);
Handle GetResource(ResType type, ResID id);
// An id from 128 up that no resource of the type in the chain has, and that
// no earlier call handed out (ids for things made at run time, menus).
ResID UniqueID(ResType type);
Handle GetNamedResource(ResType type, ConstStr255Param name);
// Any out-argument may be null.
void GetResInfo(Handle resource, ResID* id, ResType* type, unsigned char* name);
short HomeResFile(Handle resource);
// Frees the data; the next Get reads the resource again.
void ReleaseResource(Handle resource);
// The handle becomes the caller's and outlives the file.
void DetachResource(Handle resource);

// The index-th (from 1) counted string of the 'STR#' resource; an empty
// string when the list or the entry is missing or malformed.
void GetIndString(Str255 text, short strListID, short index);
PixPatHandle GetPixPat(short patID);
void DisposePixPat(PixPatHandle pattern);

}  // extern "C"

namespace platform {

// Opens the resource folder as a new file at the top of the chain and makes
// it current. A missing folder gives an empty file with a valid reference
// number; only an unreadable one fails (0, with ResError mapReadErr).
short OpenResourceFolder(const char* folderPath);

}  // namespace platform
