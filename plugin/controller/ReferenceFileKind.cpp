#include "plugin/controller/ReferenceFileKind.h"

#include <cstring>

ReferenceFileKind GetReferenceFileKind(const char* path) {
  if (!path || !*path) return kReferenceFileIgnored;
  const char* slash = std::strrchr(path, '/');
  const char* name = slash ? slash + 1 : path;
  const char* dot = std::strrchr(name, '.');
  if (!dot) return kReferenceFileIgnored;
  if (std::strcmp(dot, ".ref") == 0) return kReferenceFileCapture;
  if (std::strcmp(dot, ".wav") == 0 || std::strcmp(dot, ".aiff") == 0) return kReferenceFileAudio;
  return kReferenceFileIgnored;
}
