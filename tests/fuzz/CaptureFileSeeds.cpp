// Seeds for fuzz_capture_file: ".ref" files as WriteCaptureFile writes them,
// of the reader's own point count and of its neighbours, one with bytes
// after the last magnitude.

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "plugin/controller/CaptureFile.h"
#include "plugin/controller/ReferenceCapture.h"
#include "tests/fuzz/FuzzSeeds.h"

namespace {

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<FuzzSeed> MakeSeeds() {
  std::string folder = (std::filesystem::temp_directory_path() / "brimlow-seeds-XXXXXX").string();
  if (!mkdtemp(folder.data())) return {};
  const int n = ReferenceCapture::GetCount();
  struct Shape {
    const char* name;
    int count;
    int magnitudes;  // 0 a spectrum, 1 zeros, 2 extremes
  };
  const Shape shapes[] = {{"spectrum", n, 0}, {"zeros", n, 1}, {"extremes", n, 2},
                          {"one-short", n - 1, 0}, {"one-over", n + 1, 0}};
  std::vector<FuzzSeed> seeds;
  for (const Shape& s : shapes) {
    std::vector<double> f(s.count), m(s.count);
    for (int i = 0; i < s.count; ++i) {
      f[i] = 10.0 * std::pow(2205.0, i / (s.count - 1.0));
      m[i] = s.magnitudes == 1 ? 0.0 : 0.5 / (1.0 + i * 0.05);
    }
    if (s.magnitudes == 2) {
      m[0] = std::numeric_limits<double>::max();
      m[1] = -std::numeric_limits<double>::max();
      m[2] = std::numeric_limits<double>::denorm_min();
      f[s.count - 1] = std::numeric_limits<double>::max();
    }
    const std::string path = folder + "/" + s.name + ".ref";
    if (!WriteCaptureFile(path.c_str(), f.data(), m.data(), s.count)) {
      seeds.clear();
      break;
    }
    seeds.emplace_back(std::string(s.name) + ".ref", ReadAll(path));
  }
  if (!seeds.empty()) {
    std::vector<unsigned char> trailing = seeds[0].second;
    trailing.insert(trailing.end(), {'t', 'a', 'i', 'l'});
    seeds.emplace_back("trailing.ref", trailing);
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return seeds;
}

const FuzzSeedRegistration kRegistration("fuzz_capture_file", MakeSeeds);

}  // namespace
