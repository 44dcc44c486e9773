#include "dsp/convolution/BlockQueue.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

BlockQueue::BlockQueue(int blockSize, int maxSpareBlocks)
    : mBlockSize(std::max(blockSize, 1)), mMaxSpareBlocks(maxSpareBlocks) {}

BlockQueue::~BlockQueue() {
  for (int i = 0; i < mBlocks.GetSize(); ++i) std::free(mBlocks.Get(i));
  for (int i = 0; i < mSpare.GetSize(); ++i) std::free(mSpare.Get(i));
}

BlockQueue::Block* BlockQueue::NewBlock(int capacity) {
  Block* block = static_cast<Block*>(std::malloc(sizeof(Block) + static_cast<size_t>(capacity)));
  if (block) {
    block->capacity = capacity;
    block->used = 0;
  }
  return block;
}

void BlockQueue::Retire(Block* block) {
  if (mMaxSpareBlocks >= 0 && mSpare.GetSize() >= mMaxSpareBlocks) {
    std::free(block);
    return;
  }
  block->used = 0;
  if (!mSpare.Add(block)) std::free(block);
}

void BlockQueue::Add(const void* data, int bytes) {
  if (bytes <= 0) return;
  Block* last = mBlocks.Get(mBlocks.GetSize() - 1);
  if (!last || last->capacity - last->used < bytes) {
    last = nullptr;
    const int spares = mSpare.GetSize();
    if (spares > 0) {
      last = mSpare.Get(spares - 1);
      mSpare.Delete(spares - 1);
      if (last->capacity < bytes) {
        std::free(last);
        last = nullptr;
      }
    }
    if (!last) last = NewBlock(std::max(mBlockSize, bytes));
    if (!last) return;
    last->used = 0;
    if (!mBlocks.Add(last)) {
      Retire(last);
      return;
    }
  }
  char* dest = last->Data() + last->used;
  if (data) {
    std::memcpy(dest, data, static_cast<size_t>(bytes));
  } else {
    std::memset(dest, 0, static_cast<size_t>(bytes));
  }
  last->used += bytes;
  mAvailable += bytes;
}

int BlockQueue::GetToBuf(int offset, void* dest, int bytes) const {
  if (offset < 0 || bytes <= 0 || offset >= mAvailable) return 0;
  bytes = std::min(bytes, mAvailable - offset);
  char* out = static_cast<char*>(dest);
  int skip = mReadOffset + offset;
  int copied = 0;
  for (int i = 0; i < mBlocks.GetSize() && copied < bytes; ++i) {
    const Block* block = mBlocks.Get(i);
    if (skip >= block->used) {
      skip -= block->used;
      continue;
    }
    const int n = std::min(block->used - skip, bytes - copied);
    std::memcpy(out + copied, block->Data() + skip, static_cast<size_t>(n));
    copied += n;
    skip = 0;
  }
  return copied;
}

const void* BlockQueue::Peek(int bytes) const {
  if (bytes <= 0 || bytes > mAvailable || mBlocks.GetSize() < 1) return nullptr;
  const Block* first = mBlocks.Get(0);
  if (first->used - mReadOffset < bytes) return nullptr;
  return first->Data() + mReadOffset;
}

void BlockQueue::Advance(int bytes) {
  if (bytes <= 0) return;
  bytes = std::min(bytes, mAvailable);
  mAvailable -= bytes;
  mReadOffset += bytes;
  while (mBlocks.GetSize() > 0) {
    Block* first = mBlocks.Get(0);
    if (mReadOffset < first->used) break;
    // The block being written to is retired too once it is read out, so
    // the next append starts a fresh block from the spares.
    mReadOffset -= first->used;
    mBlocks.Delete(0);
    Retire(first);
  }
  if (mBlocks.GetSize() == 0) mReadOffset = 0;
}

void BlockQueue::Clear() {
  while (mBlocks.GetSize() > 0) {
    Block* block = mBlocks.Get(mBlocks.GetSize() - 1);
    mBlocks.Delete(mBlocks.GetSize() - 1);
    Retire(block);
  }
  mReadOffset = 0;
  mAvailable = 0;
}
