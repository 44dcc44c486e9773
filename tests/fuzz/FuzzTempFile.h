#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

// The input as a file, for readers that take a path. Each one gets a fresh
// name (so parallel fuzzers sharing a folder never read each other's input)
// and is removed with the object.
class FuzzTempFile {
 public:
  // suffix is kept at the end of the name: the preset reader joins folder,
  // name and extension itself.
  FuzzTempFile(const uint8_t* data, size_t size, const char* suffix) : mSuffix(suffix) {
    const char* tmp = std::getenv("TMPDIR");
    mFolder = std::string(tmp && *tmp ? tmp : "/tmp") + "/";
    std::string path = mFolder + "brimlow-fuzz-XXXXXX" + mSuffix;
    const int fd = mkstemps(path.data(), static_cast<int>(mSuffix.size()));
    if (fd < 0) return;
    mPath = path;
    bool ok = true;
    for (size_t done = 0; ok && done < size;) {
      const ssize_t n = write(fd, data + done, size - done);
      ok = n > 0;
      if (ok) done += static_cast<size_t>(n);
    }
    ok = close(fd) == 0 && ok;
    if (!ok) {
      unlink(mPath.c_str());
      mPath.clear();
    }
  }
  ~FuzzTempFile() {
    if (!mPath.empty()) unlink(mPath.c_str());
  }
  FuzzTempFile(const FuzzTempFile&) = delete;
  FuzzTempFile& operator=(const FuzzTempFile&) = delete;

  bool Ok() const { return !mPath.empty(); }
  const std::string& Path() const { return mPath; }
  // Folder with its separator, and the name without folder or suffix.
  const std::string& Folder() const { return mFolder; }
  std::string Stem() const { return mPath.substr(mFolder.size(), mPath.size() - mFolder.size() - mSuffix.size()); }

 private:
  std::string mSuffix;
  std::string mFolder;
  std::string mPath;
};
