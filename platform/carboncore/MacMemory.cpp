#include "platform/carboncore/MacMemory.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/carboncore/HandleBlock.h"
#include "platform/carboncore/ResourceChain.h"

namespace platform {

namespace {

constexpr uint32_t kHandleMagic = 0x48646c42;  // 'HdlB'
thread_local OSErr tMemError = noErr;

Handle NewBlock(Size byteCount, bool clear) {
  if (byteCount < 0) {
    tMemError = paramErr;
    return nullptr;
  }
  HandleBlock* block = new (std::nothrow) HandleBlock;
  // One spare byte, so an empty handle still has a master pointer that
  // is not null (a null master pointer means a purged block on the Mac).
  Ptr data = block ? static_cast<Ptr>(clear ? std::calloc(byteCount + 1, 1) : std::malloc(byteCount + 1)) : nullptr;
  if (!data) {
    delete block;
    tMemError = memFullErr;
    return nullptr;
  }
  block->mData = data;
  block->mSize = byteCount;
  block->mMagic = kHandleMagic;
  tMemError = noErr;
  return &block->mData;
}

}  // namespace

HandleBlock* BlockOfHandle(Handle h) {
  if (!h) return nullptr;
  HandleBlock* block = reinterpret_cast<HandleBlock*>(h);
  return block->mMagic == kHandleMagic ? block : nullptr;
}

void FreeHandleBlock(HandleBlock* block) {
  block->mMagic = 0;
  std::free(block->mData);
  delete block;
}

void SetMemError(OSErr err) { tMemError = err; }

}  // namespace platform

using platform::BlockOfHandle;

extern "C" {

Handle NewHandle(Size byteCount) { return platform::NewBlock(byteCount, false); }

Handle NewHandleClear(Size byteCount) { return platform::NewBlock(byteCount, true); }

void DisposeHandle(Handle h) {
  platform::HandleBlock* block = BlockOfHandle(h);
  if (!block) {
    platform::SetMemError(h ? memWZErr : nilHandleErr);
    return;
  }
  if (block->mResource) platform::ForgetResourceHandle(h);
  platform::FreeHandleBlock(block);
  platform::SetMemError(noErr);
}

Size GetHandleSize(Handle h) {
  platform::HandleBlock* block = BlockOfHandle(h);
  platform::SetMemError(block ? noErr : nilHandleErr);
  return block ? block->mSize : 0;
}

void SetHandleSize(Handle h, Size newSize) {
  platform::HandleBlock* block = BlockOfHandle(h);
  if (!block || newSize < 0) {
    platform::SetMemError(block ? paramErr : nilHandleErr);
    return;
  }
  if (block->mLocked) {
    platform::SetMemError(memWZErr);
    return;
  }
  Ptr data = static_cast<Ptr>(std::realloc(block->mData, static_cast<size_t>(newSize) + 1));
  if (!data) {
    platform::SetMemError(memFullErr);
    return;
  }
  block->mData = data;
  block->mSize = newSize;
  platform::SetMemError(noErr);
}

void HLock(Handle h) {
  if (platform::HandleBlock* block = BlockOfHandle(h)) block->mLocked = true;
  platform::SetMemError(BlockOfHandle(h) ? noErr : nilHandleErr);
}

void HUnlock(Handle h) {
  if (platform::HandleBlock* block = BlockOfHandle(h)) block->mLocked = false;
  platform::SetMemError(BlockOfHandle(h) ? noErr : nilHandleErr);
}

OSErr MemError(void) { return platform::tMemError; }

}  // extern "C"
