#pragma once

#include "framework/containers/WDL_HeapBuf.h"

// A FIFO of bytes in one contiguous buffer: appends go to the end, reads
// come from a moving position. The unread bytes are moved to the front only
// when an append would otherwise outgrow the memory already held, which in
// steady use finds few of them left (a queue emptied by its reader starts
// over for free). The block is never given back while the queue lives, so a
// queue that has reached its working size appends without allocating.
class ByteQueue {
 public:
  ByteQueue() : mBuf(4096) {}

  // Appends bytes (zeros when data is null); returns where they went, or
  // null when the buffer could not grow (nothing is appended then).
  void* Add(const void* data, int bytes);
  // Appends bytes the caller then writes: returns where they go (their
  // contents are undefined until written), or null as Add does.
  void* Append(int bytes);
  // Puts bytes zeros before the unread bytes; false when it could not grow.
  bool AddZerosAtFront(int bytes);
  // The first unread byte, null when none.
  void* Get() const;
  int Available() const { return mBuf.GetSize() - mPosition; }
  // Consumes bytes (clamped to what is there; 0 or less does nothing).
  void Advance(int bytes);
  void Clear();

 private:
  WDL_HeapBuf mBuf;
  int mPosition = 0;
};
