#pragma once

#include <sys/types.h>

#include <string>

#include "tools/FileIdentity.h"

// What an output's path leads to, found before anything is written.
struct OutputTarget {
  enum class Kind {
    kNewFile,      // nothing there yet: a regular file is made
    kRegularFile,  // replaced whole by a new file through a rename
    kStream,       // a character device or a FIFO: written through, never replaced
    kFolder,
    kOther,  // a block device, a socket: neither replaced nor written
  };
  Kind kind = Kind::kNewFile;
  // Where a new or regular file goes: the path with the symbolic links of
  // its last part followed, so that a link keeps pointing at its file and
  // the file is what gets replaced. Other kinds: the path as given.
  std::string path;
  // What is there now.
  FileIdentity identity;
};

// False (errno set) when the path cannot be looked at: a folder on the way
// that cannot be searched, a loop of links.
bool FindOutputTarget(const std::string& path, OutputTarget* target);
