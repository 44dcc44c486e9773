#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The whole of a small file (a state, a chunk, a preset file), at most
// kMaxFileBytes, from a regular file or read to its end from a pipe or a
// FIFO. Throws CommandError naming the file when it cannot be read or is
// larger, or "interrupted" when a signal ends the wait for it.
constexpr size_t kMaxFileBytes = size_t{256} << 20;
std::vector<uint8_t> ReadFileBytes(const std::string& path);
