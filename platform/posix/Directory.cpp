#include "platform/posix/Directory.h"

#include <sys/stat.h>

namespace platform {

bool CreateDirectoryIfMissing(const char* path) {
  if (!path || !path[0]) return false;
  struct stat info;
  if (stat(path, &info) == 0) return S_ISDIR(info.st_mode);
  mkdir(path, 0777);
  return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace platform
