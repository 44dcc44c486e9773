#include "tools/OutputTarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

namespace {

// As many links as the system follows in one path.
constexpr int kMaxLinks = 40;

std::string FolderPart(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool ReadLink(const std::string& path, std::string* target) {
  std::vector<char> buffer(PATH_MAX + 1);
  const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
  if (n < 0) return false;
  if (static_cast<size_t>(n) >= buffer.size()) {
    errno = ENAMETOOLONG;
    return false;
  }
  target->assign(buffer.data(), static_cast<size_t>(n));
  return true;
}

}  // namespace

bool FindOutputTarget(const std::string& path, OutputTarget* target) {
  *target = OutputTarget{};
  target->path = path;
  struct stat info {};
  const bool exists = ::stat(path.c_str(), &info) == 0;
  if (!exists && errno != ENOENT) return false;
  if (exists) {
    target->identity = FileIdentity::Of(info);
    if (S_ISDIR(info.st_mode)) {
      target->kind = OutputTarget::Kind::kFolder;
      return true;
    }
    if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) {
      // Opened by the path as given, which reaches it through any link,
      // /dev/stdout's included.
      target->kind = OutputTarget::Kind::kStream;
      return true;
    }
    if (!S_ISREG(info.st_mode)) {
      target->kind = OutputTarget::Kind::kOther;
      return true;
    }
  }
  // A regular file, or none yet (perhaps behind a link to nothing): follow
  // the links of the last part to the name the file has, or is to have.
  std::string name = path;
  for (int links = 0;; ++links) {
    struct stat entry {};
    if (::lstat(name.c_str(), &entry) != 0) {
      if (errno != ENOENT) return false;
      if (exists) {
        // A link the kernel follows but that names no file here (a file
        // open under a name since removed): no place for a new file.
        errno = ESTALE;
        return false;
      }
      target->kind = OutputTarget::Kind::kNewFile;
      target->path = name;
      return true;
    }
    if (!S_ISLNK(entry.st_mode)) {
      if (!exists || entry.st_dev != info.st_dev || entry.st_ino != info.st_ino) {
        // Changed while looked at, or reached by another way than its name.
        errno = ESTALE;
        return false;
      }
      target->kind = OutputTarget::Kind::kRegularFile;
      target->path = name;
      return true;
    }
    if (links == kMaxLinks) {
      errno = ELOOP;
      return false;
    }
    std::string link;
    if (!ReadLink(name, &link)) return false;
    name = !link.empty() && link[0] == '/' ? link : FolderPart(name) + "/" + link;
  }
}
