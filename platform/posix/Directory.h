#pragma once

namespace platform {

// Creates the folder when nothing exists at the path. The process umask
// applies: the folder is never made world-writable behind the user's back,
// and no other thread sees a changed umask. Returns true when a folder is
// there afterwards.
bool CreateDirectoryIfMissing(const char* path);

}  // namespace platform
