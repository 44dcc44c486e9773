#pragma once

#include <map>
#include <string>

namespace platform {

// The string values of a property list's top dictionary; other values are
// skipped. Empty when the file is missing, not a regular file (a folder, a
// FIFO or a device, never waited on), implausibly large (over 1 MiB) or not
// a property list.
std::map<std::string, std::string> ReadInfoPlist(const std::string& path);

}  // namespace platform
