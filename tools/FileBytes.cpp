#include "tools/FileBytes.h"

#include "tools/InputFile.h"

std::vector<uint8_t> ReadFileBytes(const std::string& path) { return ReadInputBytes(path, kMaxFileBytes); }
