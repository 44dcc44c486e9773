#pragma once

#include "framework/containers/WDL_PtrList.h"

// A FIFO of bytes in a list of heap blocks. Consumed blocks go to a spare
// list and are reused by later appends, so a queue in steady use stops
// allocating. One append always lands in one block.
class BlockQueue {
 public:
  // 65,536 bytes less room for the allocator's own header.
  static constexpr int kDefaultBlockSize = 65472;

  explicit BlockQueue(int blockSize = kDefaultBlockSize, int maxSpareBlocks = -1);
  ~BlockQueue();
  BlockQueue(const BlockQueue&) = delete;
  BlockQueue& operator=(const BlockQueue&) = delete;

  // Appends bytes (zeros when data is null); appends nothing when memory
  // cannot be had.
  void Add(const void* data, int bytes);
  // Copies up to bytes from offset bytes past the read position without
  // consuming; returns the number copied.
  int GetToBuf(int offset, void* dest, int bytes) const;
  // The next bytes unread bytes where they lie, when they lie together in
  // one block; null otherwise (or when fewer are there).
  const void* Peek(int bytes) const;
  // Consumes bytes (at most what is there).
  void Advance(int bytes);
  int Available() const { return mAvailable; }
  // Drops all content; blocks are kept as spares (up to the spare limit).
  void Clear();
  // -1 keeps every spare block.
  void SetMaxSpareBlocks(int maxSpareBlocks) { mMaxSpareBlocks = maxSpareBlocks; }

 private:
  struct Block {
    int capacity;
    int used;
    char* Data() { return reinterpret_cast<char*>(this + 1); }
    const char* Data() const { return reinterpret_cast<const char*>(this + 1); }
  };

  static Block* NewBlock(int capacity);
  void Retire(Block* block);

  WDL_PtrList<Block> mBlocks;
  WDL_PtrList<Block> mSpare;
  int mReadOffset = 0;  // into the first block
  int mAvailable = 0;
  int mBlockSize;
  int mMaxSpareBlocks;
};
