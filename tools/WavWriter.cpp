#include "tools/WavWriter.h"

#include <cerrno>
#include <cmath>
#include <cstring>

namespace {

constexpr uint16_t kTagPcm = 1;
constexpr uint16_t kTagFloat = 3;

// Header bytes ahead of the samples. Float files carry the extension-size
// field and the "fact" chunk that non-PCM formats need.
size_t HeaderBytes(bool isFloat) { return isFloat ? 12 + 26 + 12 + 8 : 12 + 24 + 8; }

void Append(std::vector<unsigned char>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A sample's bytes, lowest first; with Bytes a constant this is one store
// on a little-endian machine.
template <int Bytes>
inline void PutLittleEndian(unsigned char* p, uint32_t value) {
  for (int i = 0; i < Bytes; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

void AppendId(std::vector<unsigned char>& out, const char* id) { out.insert(out.end(), id, id + 4); }

// Full scale is 2^(bits - 1); the positive end stops one step short of it.
int32_t ToInteger(double x, int bits) {
  if (std::isnan(x)) return 0;
  const double scale = std::ldexp(1.0, bits - 1);
  const double v = std::round(x * scale);  // halves away from zero, alike for both signs
  if (v <= -scale) return static_cast<int32_t>(-scale);
  if (v >= scale - 1.0) return static_cast<int32_t>(scale - 1.0);
  return static_cast<int32_t>(v);
}

}  // namespace

WavWriter::~WavWriter() { Abandon(); }

bool WavWriter::Open(const char* path, int channels, uint32_t sampleRate, int bits) {
  Abandon();
  if (!path || !*path || (channels != 1 && channels != 2) || sampleRate == 0 ||
      (bits != 16 && bits != 24 && bits != 32)) {
    errno = EINVAL;
    return false;
  }
  if (!mFile.Open(path)) return false;
  mChannels = channels;
  mSampleRate = sampleRate;
  mBits = bits;
  mFrames = mDataBytes = 0;
  mFailed = false;
  // Sizes are filled in at Finish; this reserves the room.
  if (!WriteHeader()) {
    mFailed = true;
    mFile.Abandon();
  }
  return !mFailed;
}

bool WavWriter::Put(const void* bytes, size_t count) {
  if (mFailed || !mFile.IsOpen()) return false;
  if (!mFile.Write(bytes, count)) mFailed = true;
  return !mFailed;
}

bool WavWriter::WriteHeader() {
  const bool isFloat = mBits == 32;
  const int bytes = mBits / 8;
  const uint64_t pad = mDataBytes & 1;
  std::vector<unsigned char> h;
  AppendId(h, "RIFF");
  Append(h, HeaderBytes(isFloat) - 8 + mDataBytes + pad, 4);
  AppendId(h, "WAVE");
  AppendId(h, "fmt ");
  Append(h, isFloat ? 18 : 16, 4);
  Append(h, isFloat ? kTagFloat : kTagPcm, 2);
  Append(h, static_cast<uint64_t>(mChannels), 2);
  Append(h, mSampleRate, 4);
  Append(h, uint64_t{mSampleRate} * bytes * mChannels, 4);
  Append(h, static_cast<uint64_t>(bytes * mChannels), 2);
  Append(h, static_cast<uint64_t>(mBits), 2);
  if (isFloat) {
    Append(h, 0, 2);  // no further extension
    AppendId(h, "fact");
    Append(h, 4, 4);
    Append(h, mFrames, 4);
  }
  AppendId(h, "data");
  Append(h, mDataBytes, 4);
  return Put(h.data(), h.size());
}

bool WavWriter::WriteFrames(const double* const* channels, size_t frames) {
  if (!mFile.IsOpen() || mFailed) return false;
  if (frames > 0xFFFFFFFFull) {
    mFailed = true;
    return false;
  }
  const int bytes = mBits / 8;
  const uint64_t newBytes = uint64_t{frames} * bytes * mChannels;
  // RIFF sizes are 32-bit: the whole file, less 8 bytes and a pad byte,
  // must fit.
  if (HeaderBytes(mBits == 32) - 8 + mDataBytes + newBytes + 1 > 0xFFFFFFFFull) {
    mFailed = true;
    return false;
  }
  // The buffer keeps its largest size, so a stream of equal blocks converts
  // into the same memory every time.
  const size_t count = static_cast<size_t>(newBytes);
  if (mBuffer.size() < count) mBuffer.resize(count);
  const size_t stride = static_cast<size_t>(bytes) * static_cast<size_t>(mChannels);
  for (int c = 0; c < mChannels; ++c) {
    const double* in = channels[c];
    unsigned char* p = mBuffer.data() + static_cast<size_t>(c) * static_cast<size_t>(bytes);
    switch (mBits) {
      case 32:
        for (size_t i = 0; i < frames; ++i, p += stride) {
          const float f = static_cast<float>(in[i]);
          uint32_t u;
          std::memcpy(&u, &f, 4);
          PutLittleEndian<4>(p, u);
        }
        break;
      case 24:
        for (size_t i = 0; i < frames; ++i, p += stride) {
          PutLittleEndian<3>(p, static_cast<uint32_t>(ToInteger(in[i], 24)));
        }
        break;
      default:
        for (size_t i = 0; i < frames; ++i, p += stride) {
          PutLittleEndian<2>(p, static_cast<uint32_t>(ToInteger(in[i], 16)));
        }
        break;
    }
  }
  if (!Put(mBuffer.data(), count)) return false;
  mFrames += frames;
  mDataBytes += newBytes;
  return true;
}

bool WavWriter::Finish() {
  if (!mFile.IsOpen()) return false;
  bool ok = !mFailed;
  // An odd data chunk (24-bit mono, odd frame count) is followed by a pad byte.
  if (ok && (mDataBytes & 1)) ok = Put("", 1);
  if (ok) ok = std::fseek(mFile.File(), 0, SEEK_SET) == 0 && WriteHeader();
  if (ok) return mFile.Finish();
  mFile.Abandon();
  return false;
}

bool WavWriter::Commit() { return mFile.Commit(); }

void WavWriter::Abandon() { mFile.Abandon(); }

bool WavWriter::WriteFile(const char* path, const double* const* channels, int channelCount, size_t frames,
                          uint32_t sampleRate, int bits) {
  WavWriter writer;
  return writer.Open(path, channelCount, sampleRate, bits) && writer.WriteFrames(channels, frames) && writer.Close();
}
