// Seeds for fuzz_controls_chunk: controls-state data as the effect layer
// writes it, and one with the narrow kinds it only reads.

#include <vector>

#include "rtas/binding/ChunkDataParser.h"
#include "tests/fuzz/FuzzSeeds.h"

namespace {

std::vector<unsigned char> Written(const ChunkDataParser& parser) {
  std::vector<unsigned char> data(static_cast<size_t>(parser.GetDataSize()));
  parser.Write(data.data());
  return data;
}

std::vector<FuzzSeed> MakeSeeds() {
  std::vector<FuzzSeed> seeds;
  ChunkDataParser controls;
  controls.AddDoubleRecord("gain", 6.5);
  controls.AddLongRecord("mode", 7);
  controls.AddLongRecord("bypa", 1);
  seeds.emplace_back("controls.elck", Written(controls));
  ChunkDataParser empty;
  seeds.emplace_back("empty.elck", Written(empty));
  std::vector<unsigned char> narrow = {1, 1, 1, 1, 'f', '_', 'g', 'a', 'i', 'n', 0, 0, 0x40, 0x49, 0x0f, 0xdb,
                                       's', '_', 'm', 'o', 'd', 'e', 0, 0, 0xff, 0xfd, 0, 0};
  seeds.emplace_back("narrow.elck", narrow);
  return seeds;
}

const FuzzSeedRegistration kRegistration("fuzz_controls_chunk", MakeSeeds);

}  // namespace
