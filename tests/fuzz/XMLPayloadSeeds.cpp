// Seeds for fuzz_xml_payload: payload texts as SerializeParams writes them
// in XML mode, without the length word the target adds itself.

#include <string>
#include <vector>

#include "tests/fuzz/FuzzPlugSeeds.h"
#include "tests/fuzz/FuzzSeeds.h"

namespace {

std::vector<FuzzSeed> MakeSeeds() {
  std::vector<FuzzSeed> seeds;
  int n = 0;
  for (int setting = 0; setting < kSeedSettings; ++setting) {
    for (const char* name : kSeedPresetNames) {
      FuzzPlug plug(true);
      ApplySeedSetting(plug, setting);
      plug.SetPresetName(0, name);
      ChunkBuffer chunk;
      if (!plug.SerializeParams(&chunk) || chunk.Size() <= 4) return {};
      seeds.emplace_back("payload-" + std::to_string(n++) + ".xml", SeedBytes(chunk.GetData() + 4, chunk.Size() - 4));
    }
  }
  return seeds;
}

const FuzzSeedRegistration kRegistration("fuzz_xml_payload", MakeSeeds);

}  // namespace
