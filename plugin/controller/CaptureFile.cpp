#include "plugin/controller/CaptureFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/controller/AudioFileStream.h"
#include "plugin/controller/ReferenceCapture.h"

namespace {

constexpr size_t kHeaderBytes = 12;

void PutU32(std::vector<unsigned char>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void PutDouble(std::vector<unsigned char>& out, double d) {
  uint64_t u;
  std::memcpy(&u, &d, 8);
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<unsigned char>(u >> (8 * i)));
}

double GetDouble(const unsigned char* p) {
  uint64_t u = 0;
  for (int i = 7; i >= 0; --i) u = (u << 8) | p[i];
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}

// Writes the bytes to a fresh temporary file beside path, then renames it
// into place. O_EXCL on a new name: never write through a file or link that
// someone else put there.
bool ReplaceFile(const char* path, const std::vector<unsigned char>& bytes) {
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = std::string(path) + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return false;
  FILE* file = fdopen(fd, "wb");
  if (!file) {
    ::close(fd);
    ::unlink(temp.c_str());
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = ok && std::fflush(file) == 0 && fsync(fileno(file)) == 0;
  // The close can report the last failed write.
  const bool closed = std::fclose(file) == 0;
  ok = ok && closed && std::rename(temp.c_str(), path) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace

bool WriteCaptureFile(const char* path, const double* frequencies, const double* magnitudes, int count) {
  if (!path || !*path || count < 0 || count > kMaxCaptureFilePoints) return false;
  if (count > 0 && (!frequencies || !magnitudes)) return false;
  std::vector<unsigned char> bytes;
  bytes.reserve(kHeaderBytes + 16 * static_cast<size_t>(count));
  PutU32(bytes, kCaptureFileMagic);
  PutU32(bytes, kCaptureFileVersion);
  PutU32(bytes, static_cast<uint32_t>(count));
  for (const double* values : {frequencies, magnitudes}) {
    for (int i = 0; i < count; ++i) {
      if (!std::isfinite(values[i])) return false;
      PutDouble(bytes, values[i]);
    }
  }
  return ReplaceFile(path, bytes);
}

bool ReadCaptureFile(const char* path, ReferenceCapture* reference) {
  if (!path || !*path || !reference) return false;
  AudioFileStream file;
  if (!file.Open(path)) return false;
  uint32_t magic = 0, version = 0, count = 0;
  if (!file.ReadU32LE(&magic) || magic != kCaptureFileMagic) return false;
  if (!file.ReadU32LE(&version) || version != kCaptureFileVersion) return false;
  // Checked before anything is allocated: a count that is not ours, however
  // large, costs nothing.
  if (!file.ReadU32LE(&count) || count != static_cast<uint32_t>(ReferenceCapture::GetCount())) return false;

  const int n = ReferenceCapture::GetCount();
  std::vector<unsigned char> raw(16 * static_cast<size_t>(n));
  if (!file.Read(raw.data(), raw.size())) return false;
  std::vector<double> frequencies(n), magnitudes(n);
  for (int i = 0; i < n; ++i) {
    frequencies[i] = GetDouble(raw.data() + 8 * i);
    magnitudes[i] = GetDouble(raw.data() + 8 * (n + i));
  }
  // Set refuses non-finite values and takes both arrays or neither.
  return reference->Set(frequencies.data(), magnitudes.data(), n);
}
