#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The whole of a small file (a state), at most kMaxFileBytes. Throws
// CommandError naming the file when it cannot be read or is larger.
constexpr size_t kMaxFileBytes = size_t{256} << 20;
std::vector<uint8_t> ReadFileBytes(const std::string& path);

