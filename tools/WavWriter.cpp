#include "tools/WavWriter.h"

#include <fcntl.h>
#include <unistd.h>

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
    return false;
  }
  // O_EXCL on a fresh name: never write through a file or link someone else
  // put there. Mode 0666 lets the umask decide, as for any new file.
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    mTempPath = std::string(path) + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
    fd = ::open(mTempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    mTempPath.clear();
    return false;
  }
  mFile = fdopen(fd, "wb");
  if (!mFile) {
    ::close(fd);
    ::unlink(mTempPath.c_str());
    mTempPath.clear();
    return false;
  }
  mPath = path;
  mChannels = channels;
  mSampleRate = sampleRate;
  mBits = bits;
  mFrames = mDataBytes = 0;
  mFailed = false;
  // Sizes are filled in at Close; this reserves the room.
  if (!WriteHeader()) mFailed = true;
  return !mFailed;
}

bool WavWriter::Put(const void* bytes, size_t count) {
  if (mFailed || !mFile) return false;
  if (count == 0) return true;
  if (std::fwrite(bytes, 1, count, mFile) != count) mFailed = true;
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
  if (!mFile || mFailed) return false;
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
  mBuffer.clear();
  mBuffer.reserve(static_cast<size_t>(newBytes));
  for (size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < mChannels; ++c) {
      const double x = channels[c][i];
      if (mBits == 32) {
        const float f = static_cast<float>(x);
        uint32_t u;
        std::memcpy(&u, &f, 4);
        Append(mBuffer, u, 4);
      } else {
        Append(mBuffer, static_cast<uint32_t>(ToInteger(x, mBits)), bytes);
      }
    }
  }
  if (!Put(mBuffer.data(), mBuffer.size())) return false;
  mFrames += frames;
  mDataBytes += newBytes;
  return true;
}

bool WavWriter::Close() {
  if (!mFile) return false;
  bool ok = !mFailed;
  // An odd data chunk (24-bit mono, odd frame count) is followed by a pad byte.
  if (ok && (mDataBytes & 1)) ok = Put("", 1);
  if (ok) ok = std::fseek(mFile, 0, SEEK_SET) == 0 && WriteHeader();
  if (ok) ok = std::fflush(mFile) == 0 && fsync(fileno(mFile)) == 0;
  // The close is checked too: it can report the last failed write.
  const bool closed = std::fclose(mFile) == 0;
  mFile = nullptr;
  ok = ok && closed && std::rename(mTempPath.c_str(), mPath.c_str()) == 0;
  if (!ok) ::unlink(mTempPath.c_str());
  mTempPath.clear();
  return ok;
}

void WavWriter::Abandon() {
  if (mFile) std::fclose(mFile);
  mFile = nullptr;
  if (!mTempPath.empty()) ::unlink(mTempPath.c_str());
  mTempPath.clear();
}

bool WavWriter::WriteFile(const char* path, const double* const* channels, int channelCount, size_t frames,
                          uint32_t sampleRate, int bits) {
  WavWriter writer;
  return writer.Open(path, channelCount, sampleRate, bits) && writer.WriteFrames(channels, frames) && writer.Close();
}
