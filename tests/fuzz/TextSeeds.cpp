// Seeds for fuzz_text: labels as the editor draws them, with each alignment,
// the single-line flag and a few font effects.

#include <string>
#include <vector>

#include "tests/fuzz/FuzzSeeds.h"

namespace {

std::vector<FuzzSeed> MakeSeeds() {
  const std::vector<std::string> texts = {"1.00 kHz", "-6.0 dB", "a\nbc\r\nd", "&Band 12", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC",
                                          "\xF0\x9F\x8E\xB5 \xE9", ""};
  const unsigned char drawFlags[] = {0x80, 0x05, 0x22, 0x14, 0x40, 0x86};
  const unsigned char fontFlags[] = {0x00, 0x01, 0x03, 0x40, 0x80, 0x30};
  std::vector<FuzzSeed> seeds;
  for (size_t i = 0; i < texts.size(); ++i) {
    std::string bytes;
    bytes += static_cast<char>(drawFlags[i % sizeof drawFlags]);
    bytes += static_cast<char>(fontFlags[i % sizeof fontFlags]);
    bytes += texts[i];
    seeds.emplace_back("text-" + std::to_string(i) + ".bin", SeedBytes(bytes.data(), bytes.size()));
  }
  return seeds;
}

const FuzzSeedRegistration kRegistration("fuzz_text", MakeSeeds);

}  // namespace
