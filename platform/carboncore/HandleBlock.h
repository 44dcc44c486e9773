#pragma once

#include "platform/carboncore/MacTypes.h"

// What lies behind a handle, shared by the Memory and Resource Manager
// stand-ins only. The master pointer comes first, so a Handle is the
// address of the block.
namespace platform {

struct HandleBlock {
  Ptr mData = nullptr;
  Size mSize = 0;
  bool mLocked = false;
  uint32_t mMagic = 0;
  // The resource entry that owns the handle; null for a plain handle.
  void* mResource = nullptr;
};

// The block of a handle made by NewHandle, or null for anything else.
HandleBlock* BlockOfHandle(Handle h);
// Frees the block and its data without asking the Resource Manager.
void FreeHandleBlock(HandleBlock* block);
// Set by the Resource Manager when it hands out or forgets a resource.
void SetMemError(OSErr err);

}  // namespace platform
