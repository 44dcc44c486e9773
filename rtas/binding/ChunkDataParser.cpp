#include "rtas/binding/ChunkDataParser.h"

#include <algorithm>
#include <cstring>

#include "rtas/library/HostRecords.h"

namespace {

constexpr int32_t kMaxText = 255;

int32_t RoundUp4(int32_t n) { return (n + 3) & ~3; }

// Bytes of a record's text part: letter, '_', the name and its terminator,
// padded to a multiple of 4.
int32_t TextBytes(const std::string& name) { return RoundUp4(static_cast<int32_t>(name.size()) + 3); }

int32_t ValueBytes(int32_t kind) { return kind == ChunkDataParser::kDouble ? 8 : 4; }

char LetterOf(int32_t kind) {
  switch (kind) {
    case ChunkDataParser::kFloat:
      return 'f';
    case ChunkDataParser::kLong:
      return 'l';
    case ChunkDataParser::kDouble:
      return 'd';
    default:
      return 's';
  }
}

uint64_t ReadBigEndian(const uint8_t* p, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
  return value;
}

void WriteBigEndian(uint8_t* p, uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) {
    p[i] = static_cast<uint8_t>(value & 0xff);
    value >>= 8;
  }
}

}  // namespace

void ChunkDataParser::Clear() {
  mNames.clear();
  mValues.clear();
  mKinds.clear();
  mCursor = -1;
}

void ChunkDataParser::AddDoubleRecord(const std::string& name, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  mNames.push_back(name);
  mValues.push_back(bits);
  mKinds.push_back(kDouble);
}

void ChunkDataParser::AddLongRecord(const std::string& name, int32_t value) {
  mNames.push_back(name);
  mValues.push_back(static_cast<uint64_t>(static_cast<int64_t>(value)));
  mKinds.push_back(kLong);
}

double ChunkDataParser::GetDouble(int32_t index) const {
  double value;
  std::memcpy(&value, &mValues[index], sizeof(value));
  return value;
}

int32_t ChunkDataParser::GetDataSize() const {
  int32_t size = 4;
  for (size_t i = 0; i < mNames.size(); ++i) size += TextBytes(mNames[i]) + ValueBytes(mKinds[i]);
  return size;
}

void ChunkDataParser::Write(uint8_t* data) const {
  std::memcpy(data, kMarker, sizeof(kMarker));
  int32_t offset = 4;
  for (size_t i = 0; i < mNames.size(); ++i) {
    const int32_t textBytes = TextBytes(mNames[i]);
    std::memset(data + offset, 0, static_cast<size_t>(textBytes));
    data[offset] = static_cast<uint8_t>(LetterOf(mKinds[i]));
    data[offset + 1] = '_';
    std::memcpy(data + offset + 2, mNames[i].data(), mNames[i].size());
    offset += textBytes;
    if (mKinds[i] == kDouble) {
      WriteBigEndian(data + offset, mValues[i], 8);
    } else if (mKinds[i] == kShort) {
      WriteBigEndian(data + offset, mValues[i] & 0xffff, 2);
      data[offset + 2] = data[offset + 3] = 0;
    } else {
      WriteBigEndian(data + offset, mValues[i] & 0xffffffffu, 4);
    }
    offset += ValueBytes(mKinds[i]);
  }
}

void ChunkDataParser::Parse(const SFicPlugInChunk* chunk) {
  if (!chunk) {
    Clear();
    return;
  }
  Parse(chunk->Data(), chunk->mSize - SFicPlugInChunk::kHeaderBytes);
}

void ChunkDataParser::Parse(const uint8_t* data, int32_t size) {
  Clear();
  if (!data || size < 5 || std::memcmp(data, kMarker, sizeof(kMarker)) != 0) return;
  int32_t offset = 4;
  while (offset < size) {
    const int32_t limit = std::min(kMaxText, size - offset);
    int32_t length = 0;
    while (length < limit && data[offset + length] != 0) ++length;
    const std::string text(reinterpret_cast<const char*>(data + offset), static_cast<size_t>(length));
    offset = RoundUp4(offset + length + 1);
    int32_t kind;
    int width;
    switch (text.empty() ? 0 : text[0]) {
      case 'd':
        kind = kDouble;
        width = 8;
        break;
      case 'f':
        kind = kFloat;
        width = 4;
        break;
      case 'l':
        kind = kLong;
        width = 4;
        break;
      case 's':
        kind = kShort;
        width = 2;
        break;
      default:
        // A letter without a known width: nothing after it can be found.
        return;
    }
    if (offset > size - ValueBytes(kind)) return;
    uint64_t value = ReadBigEndian(data + offset, width);
    if (kind == kShort) {
      value = static_cast<uint64_t>(static_cast<int64_t>(static_cast<int16_t>(value)));
    } else if (kind != kDouble) {
      value = static_cast<uint64_t>(static_cast<int64_t>(static_cast<int32_t>(value)));
    }
    offset += ValueBytes(kind);
    mNames.push_back(text.size() > 2 ? text.substr(2) : std::string());
    mValues.push_back(value);
    mKinds.push_back(kind);
  }
}

int32_t ChunkDataParser::FindRecord(const std::string& name) {
  const int32_t count = GetRecordCount();
  if (mCursor >= count - 1) mCursor = -1;
  for (int32_t i = mCursor + 1; i < count; ++i) {
    if (mNames[i] == name) return mCursor = i;
  }
  for (int32_t i = 0; i <= mCursor && i < count; ++i) {
    if (mNames[i] == name) return mCursor = i;
  }
  return -1;
}
