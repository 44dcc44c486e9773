#include "tools/OutputFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/CommandError.h"
#include "tools/Interruption.h"

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Two spellings of one folder entry ("out.wav", "./out.wav") that has no
// file yet: the second rename would replace the first output.
bool SameEntry(const std::string& a, const std::string& b) {
  if (NameOf(a) != NameOf(b)) return false;
  struct stat folderA {}, folderB {};
  return ::stat(FolderOf(a).c_str(), &folderA) == 0 && ::stat(FolderOf(b).c_str(), &folderB) == 0 &&
         folderA.st_dev == folderB.st_dev && folderA.st_ino == folderB.st_ino;
}

bool SameTarget(const OutputTarget& a, const OutputTarget& b) {
  return IsSameFile(a.identity, b.identity) || SameEntry(a.path, b.path);
}

bool IsStream(const OutputTarget& target) { return target.kind == OutputTarget::Kind::kStream; }

// A fresh name beside path for keeping its present file while a new one
// takes its place.
std::string KeepName(const std::string& path, int attempt) {
  return path + ".old" + std::to_string(getpid()) + "-" + std::to_string(attempt);
}

// Keeps the file now at path under a fresh name, so it can be put back;
// *kept stays empty when there is no such file. A hard link keeps the
// target in place meanwhile; where the file system has none, the file is
// moved aside instead. False (errno set) when neither works.
bool KeepOldFile(const std::string& path, std::string* kept) {
  kept->clear();
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT;
  // No file can replace a folder; it must not be moved aside either.
  if (S_ISDIR(info.st_mode)) {
    errno = EISDIR;
    return false;
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = KeepName(path, attempt);
    if (::link(path.c_str(), name.c_str()) == 0) {
      *kept = name;
      return true;
    }
    if (errno == EEXIST) continue;
    struct stat taken {};
    if (::lstat(name.c_str(), &taken) == 0) continue;
    if (std::rename(path.c_str(), name.c_str()) != 0) return false;
    *kept = name;
    return true;
  }
  errno = EEXIST;
  return false;
}

// Undoes one commit: the kept file back in place, or the new one removed.
void PutBack(const std::string& path, const std::string& kept) {
  if (kept.empty()) {
    ::unlink(path.c_str());
  } else {
    std::rename(kept.c_str(), path.c_str());
  }
}

}  // namespace

bool IsSameOutput(const std::string& a, const std::string& b) {
  OutputTarget targetA, targetB;
  return FindOutputTarget(a, &targetA) && FindOutputTarget(b, &targetB) && SameTarget(targetA, targetB);
}

std::string OutputError(const std::string& path, int error) {
  if (error == EISDIR) return path + ": is a directory";
  if (error == ENOENT) return path + ": cannot write (no such folder)";
  return path + ": cannot write (" + std::strerror(error) + ")";
}

std::string OutputPathProblem(const std::string& path) {
  if (path.empty()) return "an empty file name";
  OutputTarget target;
  if (!FindOutputTarget(path, &target)) {
    // A file on the way where a folder should be: said below.
    if (errno != ENOTDIR) return OutputError(path, errno);
    target.path = path;
  }
  switch (target.kind) {
    case OutputTarget::Kind::kFolder: return OutputError(path, EISDIR);
    case OutputTarget::Kind::kStream: return "";
    case OutputTarget::Kind::kOther:
      return path + ": cannot write (neither a regular file, a character device nor a FIFO)";
    case OutputTarget::Kind::kNewFile:
    case OutputTarget::Kind::kRegularFile: break;
  }
  if (path.back() == '/') return path + ": cannot write (a file name cannot end in /)";
  // The temporary file goes beside the file the path leads to.
  const std::string folder = FolderOf(target.path);
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return OutputError(path, errno);
  if (!S_ISDIR(info.st_mode)) return path + ": cannot write (" + folder + " is not a folder)";
  // New entries need write and search permission on the folder.
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return OutputError(path, errno);
  return "";
}

void OutputFiles::Add(const std::string& label, const std::string& path, std::function<bool()> commit) {
  const std::string problem = OutputPathProblem(path);
  if (!problem.empty()) throw CommandError(problem);
  OutputTarget target;
  if (!FindOutputTarget(path, &target)) throw CommandError(OutputError(path, errno));
  for (const Output& earlier : mOutputs) {
    if (SameTarget(earlier.target, target)) {
      throw CommandError(earlier.label + " and " + label + " name the same file", CommandError::kUsage);
    }
  }
  mOutputs.push_back({label, path, target, std::move(commit)});
}

void OutputFiles::CommitAll() {
  // Regular files first, as they can be taken back; then the streams.
  std::vector<const Output*> order;
  for (const Output& output : mOutputs) {
    if (!IsStream(output.target)) order.push_back(&output);
  }
  for (const Output& output : mOutputs) {
    if (IsStream(output.target)) order.push_back(&output);
  }
  std::vector<std::string> kept;  // per committed regular file; "" when it replaced nothing
  auto fail = [&](const Output& output, int error) {
    const std::string message =
        error == EINTR && InterruptingSignal() != 0 ? "interrupted" : OutputError(output.path, error);
    for (size_t i = kept.size(); i-- > 0;) PutBack(order[i]->target.path, kept[i]);
    mOutputs.clear();
    throw CommandError(message);
  };
  for (size_t i = 0; i < order.size(); ++i) {
    const Output& output = *order[i];
    if (IsStream(output.target)) {
      if (!output.commit()) fail(output, errno);
      continue;
    }
    // Nothing can fail after the last one: its old file need not be kept.
    const std::string& path = output.target.path;
    std::string keep;
    if (i + 1 < order.size() && !KeepOldFile(path, &keep)) fail(output, errno);
    if (!output.commit()) {
      const int error = errno;
      if (!keep.empty()) std::rename(keep.c_str(), path.c_str());
      fail(output, error);
    }
    kept.push_back(keep);
  }
  for (const std::string& name : kept) {
    if (!name.empty()) ::unlink(name.c_str());
  }
  mOutputs.clear();
}
