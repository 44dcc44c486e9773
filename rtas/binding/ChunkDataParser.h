#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SFicPlugInChunk;

// The records of the controls-state chunk ('elck'): after a marker of four
// 01 bytes, one record per control, each starting at a multiple of 4: a
// type letter, '_', the name, a terminator, zero padding to a multiple of
// 4, then the big-endian value ('d' 8 bytes, 'l' and 'f' 4, 's' a 16-bit
// value and two zero bytes).
class ChunkDataParser {
 public:
  enum Kind : int32_t { kFloat = 1, kLong = 2, kDouble = 3, kShort = 4 };
  static constexpr uint8_t kMarker[4] = {1, 1, 1, 1};

  ChunkDataParser() = default;
  virtual ~ChunkDataParser() = default;
  ChunkDataParser(const ChunkDataParser&) = delete;
  ChunkDataParser& operator=(const ChunkDataParser&) = delete;

  void Clear();
  void AddDoubleRecord(const std::string& name, double value);
  void AddLongRecord(const std::string& name, int32_t value);

  // Bytes of the marker and the records.
  int32_t GetDataSize() const;
  // The marker and the records into data (GetDataSize bytes).
  void Write(uint8_t* data) const;
  // Replaces the records by the chunk's. A chunk shorter than 5 data bytes
  // or without the marker has none; reading stops at the data's end and at
  // a record whose type letter has no known width.
  void Parse(const SFicPlugInChunk* chunk);
  void Parse(const uint8_t* data, int32_t size);

  // The record named so, searching on cyclically from the last hit; -1.
  int32_t FindRecord(const std::string& name);

  int32_t GetRecordCount() const { return static_cast<int32_t>(mNames.size()); }
  const std::string& GetName(int32_t index) const { return mNames[index]; }
  int32_t GetKind(int32_t index) const { return mKinds[index]; }
  // The value as the record holds it: the double's bits for kind 3, the
  // integer (sign-extended) for the others.
  uint64_t GetBits(int32_t index) const { return mValues[index]; }
  double GetDouble(int32_t index) const;
  int32_t GetLong(int32_t index) const { return static_cast<int32_t>(mValues[index]); }
  bool KindListEmpty() const { return mKinds.empty(); }

 private:
  int32_t mCursor = -1;
  std::vector<std::string> mNames;
  std::vector<uint64_t> mValues;
  std::vector<int32_t> mKinds;
};
