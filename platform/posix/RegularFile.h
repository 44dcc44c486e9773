#pragma once

#include <cstddef>
#include <string>

namespace platform {

// The whole of a regular file of at most maxBytes. False, with *bytes
// emptied, for anything else: a missing file, a folder, a FIFO or a device
// (opened without waiting for a writer, and never read), or a file larger
// than the limit (never read in full).
bool ReadRegularFile(const std::string& path, size_t maxBytes, std::string* bytes);

}  // namespace platform
