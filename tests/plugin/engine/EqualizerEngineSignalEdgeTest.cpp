// The engine under the signals a host can hand it: silence after sound,
// full-scale squares, DC, and NaN or infinity among the samples, in every
// filter mode and oversampling factor, with the real meters, loudness match
// and analysers behind the hooks. Whatever the input, the output stays
// finite and free of denormals, and once the input is clean again the
// output is what the same input without the bad samples gives.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "framework/containers/WDL_Mutex.h"
#include "plugin/engine/AnalyzerRefresh.h"
#include "plugin/engine/BandTypes.h"
#include "plugin/engine/EqualizerEngine.h"
#include "plugin/engine/LoudnessMatcher.h"
#include "plugin/engine/Meters.h"
#include "plugin/engine/SpectrumAnalyzer.h"
#include "tests/plugin/engine/EngineTestSupport.h"

namespace {

using EngineTestSupport::Channels;
constexpr double kRate = 48000.0;
constexpr int kBlock = 512;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Everything behind the engine's hooks, as the plug-in wires it.
class Hooks : public MeterHook, public LoudnessHook {
 public:
  void ProcessInputMeter(double left, double right) override { meters.ProcessInputMeter(left, right); }
  void ProcessOutputMeter(double left, double right) override { meters.ProcessOutputMeter(left, right); }
  double GetLoudnessMatchGain(double inL, double inR, double outL, double outR) override {
    return loudness.GetLoudnessMatchGain(inL, inR, outL, outR);
  }
  Meters meters;
  LoudnessMatcher loudness;
};

class Feed : public AnalyzerFeed {
 public:
  explicit Feed(SpectrumAnalyzer& analyzer) : mAnalyzer(analyzer) {}
  void FeedAnalyzer(double** channels, int nChannels, int nFrames, int) override {
    mAnalyzer.FeedInput(channels, nFrames, nChannels, -1, false);
  }

 private:
  SpectrumAnalyzer& mAnalyzer;
};

// One engine with every band kind that keeps state in use: the sections of
// the "A - " types (with their anti-denormal offset), the Butterworth
// designs of the "D - " types (without one), left/right and mid/side
// bands; the loudness match on.
struct Rig {
  Rig(int filterMode, int osFactor) {
    EngineTestSupport::SetPeak(m, 0, 1000.0, 12.0, 2.0);
    m.bandActive[1] = 1;
    m.bandType[1] = kTypeALowCut;
    m.bandFreq[1] = 40.0;
    m.bandSlope[1] = 3;
    m.bandActive[2] = 1;
    m.bandType[2] = kTypeDHighShelf;
    m.bandFreq[2] = 6000.0;
    m.bandGain[2] = -6.0;
    m.bandSlope[2] = 2;
    m.bandActive[3] = 1;
    m.bandType[3] = kTypeDLowCut;
    m.bandFreq[3] = 25.0;
    m.bandSlope[3] = 5;
    // The last bands each channel runs are designs, so no section's offset
    // hides a tail that decays into denormals.
    EngineTestSupport::SetPeak(m, 4, 300.0, -9.0, 0.7, kChannelSide);
    m.bandType[4] = kTypeDPeak;
    EngineTestSupport::SetPeak(m, 5, 3000.0, 6.0, 4.0, kChannelLeft);
    m.bandType[5] = kTypeDPeak;
    m.daviLiteMode = LoudnessMatcher::kModeFast;
    for (SpectrumAnalyzer* a : {&pre, &post}) {
      a->SetSampleRate(kRate);
      a->AllocAnalyzerBuffers();
      a->SetEnabled(true);
    }
    engine.SetHost(&host);
    engine.SetMeterHook(&hooks);
    engine.SetLoudnessHook(&hooks);
    engine.SetAnalyzerFeeds(&preFeed, &postFeed);
    engine.Setup(kRate, kBlock, 2, 2);
    EngineTestSupport::ApplyModes(engine, m, filterMode, osFactor);
    hooks.meters.SetMeterMode(Meters::kModeRms, kRate);
    hooks.loudness.SetLoudnessMatchMode(m.daviLiteMode, engine.GetTotalLatency(), kRate);
  }

  // The display's refresh, then every readout it would draw.
  bool ReadoutsFinite() {
    AnalyzerRefresh refresh;
    refresh.preAnalyzer = &pre;
    refresh.postAnalyzer = &post;
    refresh.postFilterSpectrum = &m.postFilterSpectrum;
    UpdateAnalyzers(refresh, &mutex);
    bool finite = true;
    for (const Meters::Reading& r : {hooks.meters.InputReading(), hooks.meters.OutputReading()}) {
      finite = finite && std::isfinite(r.current) && std::isfinite(r.maximumOut) && std::isfinite(r.clipLamp);
    }
    finite = finite && std::isfinite(hooks.loudness.GetInputEnvelope()) &&
             std::isfinite(hooks.loudness.GetOutputEnvelope());
    for (const SpectrumAnalyzer* a : {&pre, &post}) {
      for (int i = 0; i < a->PointCount(); ++i) {
        finite = finite && std::isfinite(a->AverageCurve()[i]) && std::isfinite(a->SmoothedCurve()[i]) &&
                 std::isfinite(a->MaxCurve()[i]);
      }
    }
    return finite;
  }

  ParamMirrors m;
  EngineTestSupport::FakeHost host;
  Hooks hooks;
  SpectrumAnalyzer pre, post;
  Feed preFeed{pre}, postFeed{post};
  WDL_Mutex mutex;
  EqualizerEngine engine{&m};
};

struct ModeCase {
  int filterMode, osFactor;
};

std::vector<ModeCase> AllModes() {
  std::vector<ModeCase> cases;
  for (int factor : {1, 2, 4}) {
    for (int mode = 0; mode < 7; ++mode) cases.push_back({mode, factor});
  }
  return cases;
}

std::string ModeName(const ::testing::TestParamInfo<ModeCase>& info) {
  return "Mode" + std::to_string(info.param.filterMode) + "x" + std::to_string(info.param.osFactor);
}

// Samples from the moment the input is clean until the engine has forgotten
// it: the latency, the impulse length (host samples; the one the FIR modes
// build with, also in "Zero Latency", where no impulse is loaded) and the
// converters' fill, with a margin for the recursive bands' decay.
int SettleFrames(const EqualizerEngine& engine) {
  return engine.GetTotalLatency() + engine.GetFirLength() + 8192;
}

// First index whose sample is not finite or is subnormal, as a double or
// as the float a host receives, or -1.
int FirstBadSample(const std::vector<double>& v) {
  for (int i = 0; i < static_cast<int>(v.size()); ++i) {
    const int kind = std::fpclassify(v[i]);
    if (kind == FP_NAN || kind == FP_INFINITE || kind == FP_SUBNORMAL) return i;
    if (std::fpclassify(static_cast<float>(v[i])) == FP_SUBNORMAL) return i;
  }
  return -1;
}

double PeakAbs(const std::vector<double>& v, int from, int to) {
  double peak = 0.0;
  for (int i = from; i < to; ++i) peak = std::fmax(peak, std::fabs(v[i]));
  return peak;
}

class EngineSignalEdges : public ::testing::TestWithParam<ModeCase> {};

// Sound, then silence: the tail dies away without passing through
// denormal numbers, which the recursive bands would otherwise decay into.
TEST_P(EngineSignalEdges, SilenceAfterSoundDiesAwayWithoutDenormals) {
  Rig rig(GetParam().filterMode, GetParam().osFactor);
  const int settle = SettleFrames(rig.engine);
  const int burst = 4096;
  // Long enough for an undamped tail to reach the denormal range.
  const int total = burst + settle + 120000;
  Channels in(2, std::vector<double>(total, 0.0));
  const std::vector<double> noise = EngineTestSupport::Noise(burst, 7);
  for (int i = 0; i < burst; ++i) in[0][i] = in[1][i] = noise[i];
  const Channels out = EngineTestSupport::Run(rig.engine, in, 2, kBlock);
  for (int ch = 0; ch < 2; ++ch) {
    EXPECT_EQ(FirstBadSample(out[ch]), -1) << "channel " << ch;
    EXPECT_LT(PeakAbs(out[ch], burst + settle, total), 1e-6) << "channel " << ch;
  }
  EXPECT_TRUE(rig.ReadoutsFinite());
}

// A square at full scale, one at the highest frequency there is (+1, -1
// per sample) and DC at full scale: finite, bounded by the bands' gains
// and the converters' ringing, never denormal.
TEST_P(EngineSignalEdges, FullScaleSquaresAndDcStayFiniteAndBounded) {
  Rig rig(GetParam().filterMode, GetParam().osFactor);
  const int part = SettleFrames(rig.engine);
  Channels in(2, std::vector<double>(3 * part, 0.0));
  for (int i = 0; i < part; ++i) {
    in[0][i] = (i / 24) % 2 ? 1.0 : -1.0;  // 1 kHz
    in[1][i] = i % 2 ? 1.0 : -1.0;         // Nyquist
    in[0][part + i] = 1.0;
    in[1][part + i] = -1.0;
    in[0][2 * part + i] = in[1][2 * part + i] = i % 2 ? 1.0 : -1.0;
  }
  const Channels out = EngineTestSupport::Run(rig.engine, in, 2, kBlock);
  for (int ch = 0; ch < 2; ++ch) {
    EXPECT_EQ(FirstBadSample(out[ch]), -1) << "channel " << ch;
    // +12 dB of peak, +6 dB of peak on the left, the loudness match's +12 dB
    // and the rest of the chain's overshoot stay far below this.
    EXPECT_LT(PeakAbs(out[ch], 0, 3 * part), 64.0) << "channel " << ch;
  }
  EXPECT_TRUE(rig.ReadoutsFinite());
}

// NaN, +inf and -inf, alone and in runs, on one channel and on both: no
// sample of the output is ever non-finite, and once the input is clean the
// output is that of the same input with zeros where the bad samples were.
TEST_P(EngineSignalEdges, NonFiniteInputNeverReachesTheOutputAndIsForgotten) {
  Rig rig(GetParam().filterMode, GetParam().osFactor);
  Rig twin(GetParam().filterMode, GetParam().osFactor);
  const int settle = SettleFrames(rig.engine);
  const int lead = 3000;
  const int burst = 2000;
  const int total = lead + burst + settle + 4096;
  Channels clean = {EngineTestSupport::Noise(total, 1), EngineTestSupport::Noise(total, 2)};
  for (auto& channel : clean) {
    for (double& x : channel) x *= 0.5;
  }
  Channels dirty = clean;
  const double bad[] = {kNaN, kInf, -kInf};
  for (int i = lead; i < lead + burst; ++i) {
    // Single samples, then a run on the left only, then both channels.
    const bool hit = i < lead + 500 ? i % 37 == 0 : true;
    if (!hit) continue;
    dirty[0][i] = bad[i % 3];
    if (i >= lead + 1200) dirty[1][i] = bad[(i + 1) % 3];
    clean[0][i] = 0.0;
    if (i >= lead + 1200) clean[1][i] = 0.0;
  }
  const Channels out = EngineTestSupport::Run(rig.engine, dirty, 2, kBlock);
  const Channels expected = EngineTestSupport::Run(twin.engine, clean, 2, kBlock);
  const int recovered = lead + burst + settle;
  for (int ch = 0; ch < 2; ++ch) {
    EXPECT_EQ(FirstBadSample(out[ch]), -1) << "channel " << ch;
    double worst = 0.0;
    for (int i = recovered; i < total; ++i) worst = std::fmax(worst, std::fabs(out[ch][i] - expected[ch][i]));
    EXPECT_LT(worst, 1e-9) << "channel " << ch;
  }
  EXPECT_TRUE(rig.ReadoutsFinite());
}

INSTANTIATE_TEST_SUITE_P(AllModes, EngineSignalEdges, ::testing::ValuesIn(AllModes()), ModeName);

}  // namespace
