#include "platform/corefoundation/CFURL.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <new>

#include "platform/corefoundation/CFStringObject.h"
#include "platform/corefoundation/CFURLObject.h"

namespace platform {

namespace {

CFURLObject* URLOf(CFURLRef ref) { return CFObjectOf<CFURLObject>(ref, kCFURLTypeID); }

std::string Normalised(std::string path) {
  if (path.empty() || path[0] != '/') {
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) return {};
    path = std::string(cwd) + (path.empty() ? "" : "/" + path);
  }
  std::string out;
  for (char c : path) {
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += c;
  }
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

}  // namespace

const std::string& PathOf(CFURLRef url) {
  static const std::string kEmpty;
  const CFURLObject* object = URLOf(url);
  return object ? object->mPath : kEmpty;
}

CFURLRef NewURL(const std::string& path, bool isDirectory) {
  std::string normalised = Normalised(path);
  if (normalised.empty()) return nullptr;
  const bool folder = isDirectory || normalised == "/";
  return new (std::nothrow) CFURLObject(std::move(normalised), folder);
}

}  // namespace platform

extern "C" {

CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef, CFStringRef path, CFURLPathStyle style, Boolean isDirectory) {
  if (!path || style != kCFURLPOSIXPathStyle) return nullptr;
  return platform::NewURL(platform::TextOf(path), isDirectory);
}

CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef, CFURLRef url, CFStringRef component,
                                               Boolean isDirectory) {
  const CFURLObject* base = platform::URLOf(url);
  if (!base || !component) return nullptr;
  return platform::NewURL(base->mPath + "/" + platform::TextOf(component), isDirectory);
}

CFURLRef CFURLCreateCopyDeletingLastPathComponent(CFAllocatorRef, CFURLRef url) {
  const CFURLObject* base = platform::URLOf(url);
  if (!base) return nullptr;
  const std::string::size_type slash = base->mPath.rfind('/');
  return platform::NewURL(slash == 0 || slash == std::string::npos ? "/" : base->mPath.substr(0, slash), true);
}

CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle style) {
  const CFURLObject* object = platform::URLOf(url);
  if (!object || style != kCFURLPOSIXPathStyle) return nullptr;
  return platform::NewString(object->mPath);
}

Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean, unsigned char* buffer, CFIndex maxBufLen) {
  const CFURLObject* object = platform::URLOf(url);
  if (!object || !buffer || maxBufLen < 1 || static_cast<size_t>(maxBufLen) <= object->mPath.size()) return false;
  std::memcpy(buffer, object->mPath.c_str(), object->mPath.size() + 1);
  return true;
}

Boolean CFURLHasDirectoryPath(CFURLRef url) {
  const CFURLObject* object = platform::URLOf(url);
  return object && object->mIsDirectory;
}

Boolean CFURLGetFSRef(CFURLRef url, FSRef* ref) {
  const CFURLObject* object = platform::URLOf(url);
  struct stat info;
  if (!object || stat(object->mPath.c_str(), &info) != 0) return false;
  if (ref) std::memset(ref, 0, sizeof *ref);
  return true;
}

}  // extern "C"
