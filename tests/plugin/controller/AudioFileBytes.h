#pragma once

// Builds WAV, AIFF and AIFC files byte by byte for the reader tests, from
// the documented container layouts, and writes them to a scratch folder.

#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/ScratchFolder.h"

namespace audiofiletest {

using Bytes = std::vector<unsigned char>;

inline void AppendId(Bytes& b, const char* id) { b.insert(b.end(), id, id + 4); }

// value's low `bytes` bytes in the given order.
inline void AppendInt(Bytes& b, int64_t value, int bytes, bool bigEndian) {
  const uint64_t u = static_cast<uint64_t>(value);
  for (int i = 0; i < bytes; ++i) {
    const int shift = 8 * (bigEndian ? bytes - 1 - i : i);
    b.push_back(static_cast<unsigned char>(u >> shift));
  }
}

inline void AppendFloat(Bytes& b, float f, bool bigEndian) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  AppendInt(b, u, 4, bigEndian);
}

inline void PutU32(Bytes& b, size_t at, uint32_t v, bool bigEndian) {
  Bytes tmp;
  AppendInt(tmp, v, 4, bigEndian);
  std::memcpy(b.data() + at, tmp.data(), 4);
}

// 80-bit IEEE 754 extended, big-endian: 15-bit biased exponent (16383) and
// a 64-bit mantissa whose top bit is the explicit integer bit.
inline std::array<unsigned char, 10> Extended(double v) {
  std::array<unsigned char, 10> e{};
  if (v == 0.0) return e;
  int exponent = 0;
  const double m = std::frexp(std::fabs(v), &exponent);  // |v| = m 2^exponent, m in [0.5, 1)
  const uint64_t mantissa = static_cast<uint64_t>(std::ldexp(m, 64));
  const int biased = exponent - 1 + 16383;
  e[0] = static_cast<unsigned char>((v < 0 ? 0x80 : 0) | (biased >> 8));
  e[1] = static_cast<unsigned char>(biased);
  for (int i = 0; i < 8; ++i) e[2 + i] = static_cast<unsigned char>(mantissa >> (56 - 8 * i));
  return e;
}

struct Chunk {
  const char* id;
  Bytes body;
};

// A chunk with its size field and the pad byte after an odd body.
inline void AppendChunk(Bytes& b, const char* id, const Bytes& body, bool bigEndian, int64_t sizeField = -1) {
  AppendId(b, id);
  AppendInt(b, sizeField >= 0 ? sizeField : static_cast<int64_t>(body.size()), 4, bigEndian);
  b.insert(b.end(), body.begin(), body.end());
  if (body.size() % 2) b.push_back(0);
}

struct WavFields {
  uint16_t tag = 1;
  uint16_t channels = 2;
  uint32_t rate = 44100;
  uint16_t bits = 16;
  int blockAlign = -1;  // -1: channels x bytes per sample
  bool extensible = false;
  uint16_t subFormat = 1;  // first two GUID bytes when extensible
  uint32_t channelMask = 0;
  int64_t fmtSize = -1;  // -1: the body's length
  int fmtBodyCut = 0;    // bytes dropped from the end of the "fmt " body
  Bytes data;
  int64_t dataSize = -1;  // -1: the data's length
  bool dataFirst = false;
  bool omitFmt = false;
  bool omitData = false;
  std::vector<Chunk> before;   // ahead of the first of "fmt " and "data"
  std::vector<Chunk> between;  // between the two
  const char* riff = "RIFF";
  const char* form = "WAVE";
};

inline Bytes MakeWav(const WavFields& s) {
  const int bytes = (s.bits - 1) / 8 + 1;
  Bytes fmt;
  AppendInt(fmt, s.extensible ? 0xFFFE : s.tag, 2, false);
  AppendInt(fmt, s.channels, 2, false);
  AppendInt(fmt, s.rate, 4, false);
  AppendInt(fmt, int64_t{s.rate} * bytes * s.channels, 4, false);
  AppendInt(fmt, s.blockAlign >= 0 ? s.blockAlign : bytes * s.channels, 2, false);
  AppendInt(fmt, s.bits, 2, false);
  if (s.extensible) {
    AppendInt(fmt, 22, 2, false);      // extension size
    AppendInt(fmt, s.bits, 2, false);  // valid bits
    AppendInt(fmt, s.channelMask, 4, false);
    AppendInt(fmt, s.subFormat, 2, false);
    const unsigned char guidRest[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    fmt.insert(fmt.end(), guidRest, guidRest + 14);
  }
  fmt.resize(fmt.size() - s.fmtBodyCut);

  Bytes body;
  AppendId(body, s.form);
  for (const Chunk& c : s.before) AppendChunk(body, c.id, c.body, false);
  const auto appendFmt = [&] {
    if (!s.omitFmt) AppendChunk(body, "fmt ", fmt, false, s.fmtSize);
  };
  const auto appendData = [&] {
    if (!s.omitData) AppendChunk(body, "data", s.data, false, s.dataSize);
  };
  if (s.dataFirst)
    appendData();
  else
    appendFmt();
  for (const Chunk& c : s.between) AppendChunk(body, c.id, c.body, false);
  if (s.dataFirst)
    appendFmt();
  else
    appendData();

  Bytes file;
  AppendId(file, s.riff);
  AppendInt(file, static_cast<int64_t>(body.size()), 4, false);
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

struct AiffFields {
  bool aifc = false;
  const char* compression = "NONE";
  uint16_t channels = 2;
  int64_t frames = -1;  // -1: from the data length
  uint16_t bits = 16;
  std::array<unsigned char, 10> rate = Extended(44100.0);
  int64_t commSize = -1;
  uint32_t ssndOffset = 0;
  int64_t ssndOffsetField = -1;  // -1: ssndOffset
  Bytes data;
  bool ssndFirst = false;
  bool omitComm = false;
  bool omitSsnd = false;
  std::vector<Chunk> before;
  const char* form = "AIFF";
};

inline Bytes MakeAiff(const AiffFields& s) {
  const int bytes = (s.bits - 1) / 8 + 1;
  const int frameBytes = (s.aifc && std::strcmp(s.compression, "NONE") != 0 ? 4 : bytes) * s.channels;
  Bytes comm;
  AppendInt(comm, s.channels, 2, true);
  AppendInt(comm, s.frames >= 0 ? s.frames : static_cast<int64_t>(s.data.size()) / frameBytes, 4, true);
  AppendInt(comm, s.bits, 2, true);
  comm.insert(comm.end(), s.rate.begin(), s.rate.end());
  if (s.aifc) {
    AppendId(comm, s.compression);
    comm.push_back(0);  // empty compression name, padded to even
    comm.push_back(0);
  }
  Bytes ssnd;
  AppendInt(ssnd, s.ssndOffsetField >= 0 ? s.ssndOffsetField : s.ssndOffset, 4, true);
  AppendInt(ssnd, 0, 4, true);  // block size
  ssnd.insert(ssnd.end(), s.ssndOffset, 0xEE);
  ssnd.insert(ssnd.end(), s.data.begin(), s.data.end());

  Bytes body;
  AppendId(body, s.aifc ? "AIFC" : s.form);
  for (const Chunk& c : s.before) AppendChunk(body, c.id, c.body, true);
  const auto appendComm = [&] {
    if (!s.omitComm) AppendChunk(body, "COMM", comm, true, s.commSize);
  };
  const auto appendSsnd = [&] {
    if (!s.omitSsnd) AppendChunk(body, "SSND", ssnd, true);
  };
  if (s.ssndFirst)
    appendSsnd();
  else
    appendComm();
  if (s.ssndFirst)
    appendComm();
  else
    appendSsnd();

  Bytes file;
  AppendId(file, "FORM");
  AppendInt(file, static_cast<int64_t>(body.size()), 4, true);
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

}  // namespace audiofiletest
