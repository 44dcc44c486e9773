#include "tools/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/CommandError.h"

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) throw CommandError(path + ": cannot open (" + std::strerror(errno) + ")");
  std::vector<uint8_t> bytes;
  uint8_t buffer[65536];
  bool failed = false;
  for (;;) {
    const size_t n = std::fread(buffer, 1, sizeof buffer, f);
    bytes.insert(bytes.end(), buffer, buffer + n);
    if (bytes.size() > kMaxFileBytes) break;
    if (n < sizeof buffer) {
      failed = std::ferror(f) != 0;
      break;
    }
  }
  std::fclose(f);
  if (failed) throw CommandError(path + ": read failed");
  if (bytes.size() > kMaxFileBytes) throw CommandError(path + ": too large");
  return bytes;
}
