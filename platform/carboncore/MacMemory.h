#pragma once

#include "platform/carboncore/MacTypes.h"

// Stand-in for the Memory Manager's relocatable blocks. A handle points to a
// master pointer that points to the data; the data never moves here, so
// locking only records the state. Failures are reported through MemError,
// which is kept per thread.
extern "C" {

Handle NewHandle(Size byteCount);
Handle NewHandleClear(Size byteCount);
// A resource handle is detached from its file first, so the file never
// keeps a pointer to freed memory.
void DisposeHandle(Handle h);
Size GetHandleSize(Handle h);
// The data may move (the master pointer follows it); a locked handle is not
// resized (memWZErr).
void SetHandleSize(Handle h, Size newSize);
void HLock(Handle h);
void HUnlock(Handle h);
OSErr MemError(void);

}  // extern "C"
