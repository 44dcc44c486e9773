// One full draw of the EQ display as the editor's timer draws it while
// audio runs: grid, guides off, the pre- and post-filter spectra (running
// and max hold) of a high-resolution analyser, five active bands with their
// curves and the "All" sum from the engine's own response (behind a mutex,
// as the plug-in's callback takes one), border, scales and handles. Per
// spectrum style at 100 % and 200 %, and with the heat-map strips, which
// build the bin map. The data and the fonts are made outside the timed loop.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "editor/display/IScope.h"
#include "framework/containers/WDL_Mutex.h"
#include "plugin/engine/BandFilter.h"
#include "plugin/engine/BandTypes.h"
#include "plugin/engine/EQCurve.h"
#include "plugin/engine/ParamMirrors.h"
#include "tests/graphics/FakeGraphics.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kBins = 16384;  // a 32768-point transform

// The engine's display bank and the band mirrors behind the evaluator.
struct Equaliser {
  BandFilter bands[kNumBands];
  ParamMirrors mirrors;
  WDL_Mutex mutex;

  Equaliser() {
    const struct {
      int type;
      double hz, db, q;
    } set[] = {{kTypeALowCut, 40.0, 0.0, 1.0},
               {kTypeALowShelf, 120.0, 4.0, 0.7},
               {kTypeAPeak, 800.0, -6.0, 2.0},
               {kTypeAPeak, 3000.0, 5.0, 1.0},
               {kTypeAHighShelf, 10000.0, -3.0, 0.7}};
    for (int b = 0; b < kNumBands; ++b) {
      const bool on = b < 5;
      mirrors.bandActive[b] = on;
      mirrors.bandType[b] = on ? set[b].type : kTypeAPeak;
      mirrors.bandFreq[b] = on ? set[b].hz : 1000.0;
      mirrors.bandGain[b] = on ? set[b].db : 0.0;
      mirrors.bandQ[b] = on ? set[b].q : 0.7;
      bands[b].SetBandFilterType(mirrors.bandType[b], mirrors.bandFreq[b], mirrors.bandGain[b], mirrors.bandQ[b],
                                 mirrors.bandSlope[b], 2.0 * kRate);
    }
  }

  static double Evaluate(void* context, double hz, int channel, int band) {
    auto* self = static_cast<Equaliser*>(context);
    WDL_MutexLock lock(&self->mutex);
    return GetEQCurveValue(self->bands, self->mirrors, kRate, hz, channel, band);
  }
};

// A falling spectrum with some ripple, as bins and as 1/48-octave bands.
struct Spectrum {
  std::vector<double> bins, bandHz, bands;

  explicit Spectrum(double gain) {
    bins.resize(kBins);
    for (int b = 0; b < kBins; ++b) {
      const double hz = std::max(b * (kRate / 2.0) / (kBins - 1), 10.0);
      bins[b] = gain * (1.0 + 0.3 * std::sin(0.05 * b)) / std::sqrt(hz);
    }
    for (double hz = 10.0; hz < 24000.0; hz *= std::pow(2.0, 1.0 / 48.0)) {
      bandHz.push_back(hz);
      bands.push_back(gain / std::sqrt(hz));
    }
  }
  void Into(SpectrumView* v) const {
    v->bandCount = static_cast<int>(bandHz.size());
    v->bandFrequencies = bandHz.data();
    v->bandMax = v->bandRunning = v->bandAverage = bands.data();
    v->binCount = kBins;
    v->binMax = v->binRunning = v->binAverage = bins.data();
  }
};

void DrawScope(benchmark::State& state, int style, double scale, int spectrogram) {
  GraphicsTestPlug plug;
  auto* graphics = new FakeGraphics(&plug, static_cast<int>(872 * scale), static_cast<int>(632 * scale));
  plug.AttachGraphics(graphics);
  auto* scope = new IScope(&plug, IRECT(92, 84, 789, 428), 141, 10.0, 30000.0, kRate);
  graphics->AttachControl(scope);
  scope->Rescale(scale, scale);
  scope->SetRECT(IRECT(static_cast<int>(92 * scale), static_cast<int>(84 * scale), static_cast<int>(789 * scale),
                       static_cast<int>(428 * scale)));

  Equaliser eq;
  const Spectrum pre(1.0), post(0.5);
  pre.Into(&scope->mSpectrumViews[IScope::kPreView]);
  post.Into(&scope->mSpectrumViews[IScope::kPostView]);
  scope->mNumBands = kNumBands;
  scope->mBandActive = eq.mirrors.bandActive;
  scope->mBandType = eq.mirrors.bandType;
  scope->mBandGain = eq.mirrors.bandGain;
  scope->mBandFreq = eq.mirrors.bandFreq;
  scope->mBandQ = eq.mirrors.bandQ;
  scope->mBandChMode = eq.mirrors.bandChMode;
  scope->mBandSlope = eq.mirrors.bandSlope;
  scope->mBandSolo = eq.mirrors.bandSolo;
  scope->mEvaluator = &Equaliser::Evaluate;
  scope->mEvaluatorContext = &eq;
  scope->mSmoothMode = style;
  scope->mShowMax = true;
  scope->mSpectrogramMode = spectrogram;
  scope->RecomputeRanges();
  scope->Draw(graphics);  // fonts made, buffers grown

  for (auto _ : state) benchmark::DoNotOptimize(scope->Draw(graphics));
}

void BM_ScopeDraw(benchmark::State& state) {
  DrawScope(state, static_cast<int>(state.range(0)), state.range(1) / 100.0, 0);
}
BENCHMARK(BM_ScopeDraw)
    ->ArgNames({"style", "scale"})
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7}, {100, 200}})
    ->Unit(benchmark::kMicrosecond);

// The curves, then the heat-map strips of every set: a bin map per set.
void BM_ScopeDrawHeatMap(benchmark::State& state) {
  DrawScope(state, static_cast<int>(state.range(0)), state.range(1) / 100.0, 2);
}
BENCHMARK(BM_ScopeDrawHeatMap)
    ->ArgNames({"style", "scale"})
    ->ArgsProduct({{0, 2}, {100, 200}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
