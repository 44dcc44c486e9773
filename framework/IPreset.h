#pragma once

#include "framework/containers/ChunkBuffer.h"

// One preset record: a name and a stored parameter payload.
struct IPreset {
  bool mInitialized = false;
  char mName[256] = {};
  ChunkBuffer mChunk;
  // True for records appended after construction; nothing reads it.
  bool mAppended = false;
};
