// Seeds for fuzz_binary_payload: payloads as SerializeParams writes them in
// binary mode.

#include <string>
#include <vector>

#include "tests/fuzz/FuzzPlugSeeds.h"
#include "tests/fuzz/FuzzSeeds.h"

namespace {

std::vector<FuzzSeed> MakeSeeds() {
  std::vector<FuzzSeed> seeds;
  for (int setting = 0; setting < kSeedSettings; ++setting) {
    FuzzPlug plug(false);
    ApplySeedSetting(plug, setting);
    ChunkBuffer chunk;
    if (!plug.SerializeParams(&chunk) || chunk.Size() == 0) return {};
    seeds.emplace_back("payload-" + std::to_string(setting) + ".bin", SeedBytes(chunk.GetData(), chunk.Size()));
  }
  return seeds;
}

const FuzzSeedRegistration kRegistration("fuzz_binary_payload", MakeSeeds);

}  // namespace
