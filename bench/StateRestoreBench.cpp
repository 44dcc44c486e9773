// A host reopening a project: the saved state chunk read back into a running
// instance (XML payload parsed, every parameter announced, the reference laid
// on the analyser grid). Measured in the heaviest set-up a host can have
// saved, "LinearPhase Max" at 4x, where every parameter change may rebuild
// the impulse, and at the lightest for comparison.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "plugin/controller/Brimlow.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/plugin/controller/ScopedDataHome.h"

namespace {

void SetParam(Brimlow& plug, int idx, double value) {
  plug.GetParam(idx)->Set(value);
  plug.OnParamChange(idx);
}

void BM_StateRestore(benchmark::State& state) {
  ScopedDataHome home;
  std::unique_ptr<Brimlow> plug(MakePlug());
  plug->SetSampleRate(48000.0);
  plug->Reset();
  SetParam(*plug, kParamFilterMode, static_cast<double>(state.range(0)));
  SetParam(*plug, kParamOSMode, static_cast<double>(state.range(1)));
  for (int b = 0; b < kNumBands; ++b) SetParam(*plug, BandParamIndex(b, kBandActive), 1.0);

  // Two sessions that differ in every band's gain, frequency and Q, read in
  // turn, so every restore changes the bands.
  ChunkBuffer saved[2];
  for (int k = 0; k < 2; ++k) {
    for (int b = 0; b < kNumBands; ++b) {
      SetParam(*plug, BandParamIndex(b, kBandGain), k ? 3.0 : -3.0);
      SetParam(*plug, BandParamIndex(b, kBandFreq), (k ? 120.0 : 100.0) * (b + 1));
      SetParam(*plug, BandParamIndex(b, kBandQ), k ? 1.2 : 0.9);
    }
    if (!plug->SerializeState(&saved[k])) {
      state.SkipWithError("the state could not be saved");
      return;
    }
  }
  int which = 0;
  for (auto _ : state) {
    const int end = plug->UnserializeStateAll(&saved[which], 0);
    benchmark::DoNotOptimize(end);
    which ^= 1;
  }
}

}  // namespace

// Filter Mode ("Zero Latency" 0, "LinearPhase Max" 6), OS Mode ("Off" 0, "4x" 2).
BENCHMARK(BM_StateRestore)->Args({0, 0})->Args({6, 2})->Unit(benchmark::kMillisecond);
