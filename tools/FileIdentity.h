#pragma once

#include <sys/stat.h>
#include <sys/types.h>

// Which file a path reaches, for telling whether two paths (any spelling,
// a hard or a symbolic link) are one file.
struct FileIdentity {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  bool characterDevice = false;

  static FileIdentity Of(const struct stat& info) {
    return {true, info.st_dev, info.st_ino, S_ISCHR(info.st_mode)};
  }
  // What the path reaches, its links followed; nothing when it reaches nothing.
  static FileIdentity OfPath(const char* path) {
    struct stat info {};
    return ::stat(path, &info) == 0 ? Of(info) : FileIdentity{};
  }
};

// Character devices never count as one file: writing or reading /dev/null
// twice harms nothing, and they are never replaced.
inline bool IsSameFile(const FileIdentity& a, const FileIdentity& b) {
  return a.exists && b.exists && !a.characterDevice && !b.characterDevice && a.device == b.device &&
         a.inode == b.inode;
}
