// Writes the seed corpus of every registered target. Usage: fuzz_seeds DIR

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzSeeds.h"

namespace {

struct Maker {
  std::string target;
  FuzzSeedMaker make;
};

// Built on first use: registrations run during static initialisation, in
// no order across files.
std::vector<Maker>& Makers() {
  static std::vector<Maker> makers;
  return makers;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

FuzzSeedRegistration::FuzzSeedRegistration(const char* target, FuzzSeedMaker make) {
  Makers().push_back({target, make});
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root(argv[1]);
  if (Makers().empty()) {
    std::fprintf(stderr, "no seed makers registered\n");
    return 1;
  }
  for (const Maker& maker : Makers()) {
    const std::filesystem::path folder = root / maker.target;
    std::error_code error;
    // Stale seeds of an older writer would otherwise stay in the corpus.
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder, error);
    const std::vector<FuzzSeed> seeds = maker.make();
    if (error || seeds.empty()) {
      std::fprintf(stderr, "%s: no seeds written to %s\n", maker.target.c_str(), folder.c_str());
      return 1;
    }
    for (const FuzzSeed& seed : seeds) {
      if (!WriteFile(folder / seed.first, seed.second)) {
        std::fprintf(stderr, "%s: cannot write %s\n", maker.target.c_str(), seed.first.c_str());
        return 1;
      }
    }
    std::printf("%s: %zu seeds\n", maker.target.c_str(), seeds.size());
  }
  return 0;
}
