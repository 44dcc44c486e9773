#pragma once

#include <string>
#include <utility>
#include <vector>

// A target's seed corpus: named inputs made by the system's own writers.
// Each target's seed file registers one maker at start-up; the fuzz_seeds
// program writes every maker's seeds into DIR/<target>/.
using FuzzSeed = std::pair<std::string, std::vector<unsigned char>>;
using FuzzSeedMaker = std::vector<FuzzSeed> (*)();

struct FuzzSeedRegistration {
  FuzzSeedRegistration(const char* target, FuzzSeedMaker make);
};

inline std::vector<unsigned char> SeedBytes(const void* data, size_t size) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(bytes, bytes + size);
}
