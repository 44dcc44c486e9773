// Seeds for fuzz_state_chunk: state chunks as the plug-in's SerializeState
// writes them, fresh and after a host has moved every parameter (the two
// modes kept cheap to restore).

#include <string>
#include <vector>

#include "plugin/engine/ParamIndex.h"
#include "tests/fuzz/FuzzSeeds.h"
#include "tests/fuzz/FuzzStatePlug.h"

namespace {

std::vector<FuzzSeed> MakeSeeds() {
  FuzzStatePlug plug;
  std::vector<FuzzSeed> seeds;
  seeds.emplace_back("fresh.state", plug.Save());
  // Minimum, maximum and a point between that uses every printed decimal.
  for (int setting = 0; setting < 3; ++setting) {
    for (int i = 0; i < kNumParams; ++i) {
      const IParam* p = plug.Plug().GetParam(i);
      double v = setting == 0 ? p->GetMin() : setting == 1 ? p->GetMax()
                                                           : p->GetMin() + (p->GetMax() - p->GetMin()) * 0.371293;
      if (i == kParamFilterMode || i == kParamOSMode) v = setting == 2 ? 1.0 : 0.0;
      plug.SetParam(i, v);
    }
    seeds.emplace_back("setting-" + std::to_string(setting) + ".state", plug.Save());
  }
  for (const FuzzSeed& seed : seeds) {
    if (seed.second.empty()) return {};
  }
  return seeds;
}

const FuzzSeedRegistration kRegistration("fuzz_state_chunk", MakeSeeds);

}  // namespace
