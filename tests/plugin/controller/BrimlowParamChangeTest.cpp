#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <vector>

#include "editor/display/IScope.h"
#include "graphics/IControl.h"
#include "graphics/IGraphics.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/engine/BandDesign.h"
#include "plugin/engine/BandTypes.h"
#include "plugin/engine/FirImpulseBuilder.h"
#include "plugin/engine/OversamplingStage.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/plugin/controller/PlugTestSupport.h"
#include "tests/plugin/engine/BandTestSupport.h"

namespace {

using plugtest::ControlOf;
using plugtest::Process;
using plugtest::SetFromHost;
using plugtest::SetViaControl;

constexpr double kRate = 44100.0;
constexpr double kPi = 3.141592653589793;

// The magnitude in dB of a finite signal's spectrum at one frequency, by a
// direct DFT sum.
double SpectrumDb(const std::vector<double>& x, double frequencyHz, double rate) {
  const double w = 2.0 * kPi * frequencyHz / rate;
  std::complex<double> sum(0.0, 0.0);
  for (size_t n = 0; n < x.size(); ++n) sum += x[n] * std::polar(1.0, -w * static_cast<double>(n));
  return 20.0 * std::log10(std::abs(sum));
}

double SpectrumDb(const double* x, int n, double frequencyHz, double rate) {
  return SpectrumDb(std::vector<double>(x, x + n), frequencyHz, rate);
}

// The response of a designed band, from its coefficients, as it runs.
double BandDb(const BandFilter& band, double frequencyHz, double rate) {
  return BandTestSupport::Db(BandTestSupport::BandResponse(band, 2.0 * kPi * frequencyHz / rate, true));
}

std::vector<double> Impulse(int n) {
  std::vector<double> v(n, 0.0);
  v[0] = 1.0;
  return v;
}

class PlugFixture {
 protected:
  ScopedDataHome mHome;
  std::unique_ptr<Brimlow> mPlug{MakePlug()};

  Brimlow& Plug() { return *mPlug; }
  const ParamMirrors& M() const { return mPlug->Mirrors(); }
  IScope& Scope() { return *mPlug->GetScope(); }
  const FilterBank& Bank() const { return mPlug->GetEngine().GetFilterBank(); }

  // An active "A - Peak" band, set up from the editor.
  void Peak(int band, double freqHz, double gainDb, double q) {
    SetViaControl(Plug(), BandParamIndex(band, kBandActive), 1.0);
    SetViaControl(Plug(), BandParamIndex(band, kBandType), kTypeAPeak);
    SetViaControl(Plug(), BandParamIndex(band, kBandFreq), freqHz);
    SetViaControl(Plug(), BandParamIndex(band, kBandGain), gainDb);
    SetViaControl(Plug(), BandParamIndex(band, kBandQ), q);
  }

  // Two frames drawn: a control with a redraw pending stays dirty for one
  // frame after it is drawn.
  void CleanAllControls() {
    IGraphics* graphics = Plug().GetGUI();
    for (int frame = 0; frame < 2; ++frame) {
      for (int i = 0; i < graphics->NControls(); ++i) graphics->GetControl(i)->SetClean();
    }
  }
};

class DispatchTest : public ::testing::Test, public PlugFixture {};

// ---- Band fields --------------------------------------------------------------

struct BandFieldCase {
  int field;
  double value;
  double mirrored;  // after the dispatch's rounding
};

class BandFieldReachesEngine : public ::testing::TestWithParam<BandFieldCase>, public PlugFixture {};

TEST_P(BandFieldReachesEngine, BothProcessBanksAndTheDisplayBankAreDesignedFromTheMirror) {
  const BandFieldCase c = GetParam();
  const int b = 4;
  SetViaControl(Plug(), BandParamIndex(b, kBandActive), 1.0);
  SetViaControl(Plug(), BandParamIndex(b, c.field), c.value);

  const ParamMirrors& m = M();
  const double mirrors[] = {double(m.bandActive[b]),
                            double(m.bandType[b]),
                            double(m.bandChMode[b]),
                            double(m.bandSlope[b]),
                            m.bandGain[b],
                            m.bandFreq[b],
                            m.bandQ[b],
                            double(m.bandSolo[b])};
  EXPECT_NEAR(mirrors[c.field], c.mirrored, 1e-12);

  // A band designed here from the expected values must match each bank's
  // band in its running response, not just in its stored inputs.
  BandFilter expected;
  DesignBand(expected, m.bandType[b], m.bandFreq[b], m.bandGain[b], m.bandQ[b], m.bandSlope[b], kRate, false);
  BandFilter expectedDisplay;
  DesignBand(expectedDisplay, m.bandType[b], m.bandFreq[b], m.bandGain[b], m.bandQ[b], m.bandSlope[b], 2 * kRate, true);
  for (const BandFilter* bank : {Bank().GetFirstBands(), Bank().GetSecondBands()}) {
    const BandFilter& band = bank[b];
    EXPECT_EQ(band.mType, m.bandType[b]);
    EXPECT_EQ(band.mSlope, m.bandSlope[b]);
    EXPECT_DOUBLE_EQ(band.mSampleRate, kRate);
    for (double f : {100.0, 1000.0, 1234.568, 8000.0})
      EXPECT_NEAR(BandDb(band, f, kRate), BandDb(expected, f, kRate), 1e-9) << f;
  }
  const BandFilter& display = Bank().GetDisplayBands()[b];
  EXPECT_DOUBLE_EQ(display.mSampleRate, 2 * kRate);
  for (double f : {100.0, 1000.0, 8000.0}) {
    EXPECT_NEAR(BandDb(display, f, 2 * kRate), BandDb(expectedDisplay, f, 2 * kRate), 1e-9) << f;
  }
}

INSTANTIATE_TEST_SUITE_P(Fields, BandFieldReachesEngine,
                         ::testing::Values(BandFieldCase{kBandType, kTypeALowShelf, kTypeALowShelf},
                                           BandFieldCase{kBandType, kTypeALowCut, kTypeALowCut},
                                           BandFieldCase{kBandSlope, 5, 5}, BandFieldCase{kBandGain, 7.456, 7.46},
                                           BandFieldCase{kBandGain, -12.344, -12.34},
                                           BandFieldCase{kBandFreq, 1234.5678, 1234.568},
                                           BandFieldCase{kBandQ, 2.3456, 2.346}));

TEST_F(DispatchTest, ProcessedAudioHasTheResponseOfTheDesignedBands) {
  Peak(5, 1000.0, 12.0, 1.0);
  Peak(9, 6000.0, -8.0, 2.0);
  const int n = 16384;
  const std::vector<std::vector<double>> out = Process(Plug(), Impulse(n), Impulse(n));
  for (double f : {200.0, 1000.0, 3000.0, 6000.0, 12000.0}) {
    const double expected = BandDb(Bank().GetFirstBands()[5], f, kRate) + BandDb(Bank().GetFirstBands()[9], f, kRate);
    EXPECT_NEAR(SpectrumDb(out[0], f, kRate), expected, 1e-6) << f;
    EXPECT_NEAR(SpectrumDb(out[1], f, kRate), expected, 1e-6) << f;
  }
  // Taking a band out of the chain shows in the audio.
  SetViaControl(Plug(), BandParamIndex(9, kBandActive), 0.0);
  const std::vector<std::vector<double>> alone = Process(Plug(), Impulse(n), Impulse(n));
  EXPECT_NEAR(SpectrumDb(alone[0], 6000.0, kRate), BandDb(Bank().GetFirstBands()[5], 6000.0, kRate), 1e-6);
}

TEST_F(DispatchTest, InAFirModeEveryBandEditRebuildsTheImpulse) {
  SetViaControl(Plug(), kParamFilterMode, 2);  // "MinimumPhase High"
  Peak(3, 1000.0, 6.0, 1.0);
  const FirImpulseBuilder& impulse = Bank().GetImpulse();
  ASSERT_EQ(impulse.GetLength(), 4096);
  EXPECT_NEAR(SpectrumDb(impulse.Left(), 4096, 1000.0, kRate), 6.0, 0.05);

  const struct {
    int field;
    double value;
    double atHz, expectDb;
  } edits[] = {{kBandGain, 10.0, 1000.0, 10.0},
               {kBandFreq, 2000.0, 2000.0, 10.0},
               {kBandType, kTypeAHighShelf, 15000.0, 10.0},
               {kBandChMode, kChannelRight, 15000.0, 0.0}};
  for (const auto& e : edits) {
    SetViaControl(Plug(), BandParamIndex(3, e.field), e.value);
    EXPECT_NEAR(SpectrumDb(impulse.Left(), 4096, e.atHz, kRate), e.expectDb, 0.3) << "field " << e.field;
  }
  EXPECT_NEAR(SpectrumDb(impulse.Right(), 4096, 15000.0, kRate), 10.0, 0.3);

  // The audio carries the impulse, delayed by the reported latency.
  const int latency = Plug().GetEngine().GetTotalLatency();
  EXPECT_EQ(latency, 8192);
  const std::vector<std::vector<double>> out = Process(Plug(), Impulse(32768), Impulse(32768));
  EXPECT_NEAR(SpectrumDb(out[1], 15000.0, kRate), 10.0, 0.3);
  EXPECT_NEAR(SpectrumDb(out[0], 15000.0, kRate), 0.0, 0.01);
  EXPECT_NEAR(out[0][latency], 1.0, 1e-5);
}

TEST_F(DispatchTest, AGainThatRoundsToTheMirrorDoesOnlyTheTail) {
  const int gain = BandParamIndex(2, kBandGain);
  CleanAllControls();
  SetFromHost(Plug(), gain, 0.004);
  EXPECT_EQ(M().bandGain[2], 0.0);
  // The band's controls were not greyed again: the handler stopped at the
  // compare.
  EXPECT_FALSE(ControlOf(Plug(), BandParamIndex(2, kBandQ))->IsDirty());

  SetFromHost(Plug(), gain, 0.006);
  EXPECT_DOUBLE_EQ(M().bandGain[2], 0.01);
  EXPECT_TRUE(ControlOf(Plug(), BandParamIndex(2, kBandQ))->IsDirty());
  // Only the edited band's controls are greyed again.
  EXPECT_FALSE(ControlOf(Plug(), BandParamIndex(0, kBandQ))->IsDirty());
}

TEST_F(DispatchTest, EnumeratedBandFieldsMirrorTheirIntegerPart) {
  SetFromHost(Plug(), BandParamIndex(1, kBandType), 7.0);
  EXPECT_EQ(M().bandType[1], 7);
  SetFromHost(Plug(), BandParamIndex(1, kBandSlope), 15.0);
  EXPECT_EQ(M().bandSlope[1], 15);
  // A NaN from the host keeps the value the parameter holds, never a value
  // cast from NaN.
  SetFromHost(Plug(), BandParamIndex(1, kBandGain), 3.0);
  SetFromHost(Plug(), BandParamIndex(1, kBandGain), std::nan(""));
  EXPECT_EQ(M().bandGain[1], 3.0);
  SetFromHost(Plug(), BandParamIndex(1, kBandType), std::nan(""));
  EXPECT_EQ(M().bandType[1], 7);
}

// ---- Solo ----------------------------------------------------------------------

TEST_F(DispatchTest, SoloIsExclusiveAndTurningItOffTouchesNobody) {
  const auto solo = [](int b) { return BandParamIndex(b, kBandSolo); };
  SetViaControl(Plug(), solo(1), 1.0);
  // From the host: the other controls were never moved by the user.
  SetFromHost(Plug(), solo(3), 1.0);
  for (int b = 0; b < kNumBands; ++b) {
    const int want = b == 3 ? 1 : 0;
    EXPECT_EQ(M().bandSolo[b], want) << b;
    EXPECT_EQ(Plug().GetParam(solo(b))->Value(), want) << b;
    EXPECT_EQ(ControlOf(Plug(), solo(b))->GetValue(), want) << b;
  }
  SetViaControl(Plug(), solo(3), 0.0);
  for (int b = 0; b < kNumBands; ++b) {
    EXPECT_EQ(M().bandSolo[b], 0) << b;
    EXPECT_EQ(Plug().GetParam(solo(b))->Value(), 0.0) << b;
  }
}

class SoloRedesign : public ::testing::TestWithParam<int>, public PlugFixture {};

TEST_P(SoloRedesign, OnlyTheFirModesRebuildTheImpulse) {
  const int mode = GetParam();
  SetViaControl(Plug(), kParamFilterMode, mode);
  Peak(0, 1000.0, 12.0, 1.0);
  Peak(1, 5000.0, -12.0, 1.0);
  const int n = Bank().GetImpulse().GetLength();
  const std::vector<double> before(Bank().GetImpulse().Left(), Bank().GetImpulse().Left() + n);
  CleanAllControls();
  SetViaControl(Plug(), BandParamIndex(0, kBandSolo), 1.0);
  // No band control is greyed again for a Solo change.
  EXPECT_FALSE(ControlOf(Plug(), BandParamIndex(5, kBandGain))->IsDirty());
  const std::vector<double> after(Bank().GetImpulse().Left(), Bank().GetImpulse().Left() + n);
  if (mode == 0) {
    EXPECT_EQ(after, before);
    // The per-sample path honours the solo at once.
    const std::vector<std::vector<double>> out = Process(Plug(), Impulse(16384), Impulse(16384));
    EXPECT_NEAR(SpectrumDb(out[0], 5000.0, kRate), BandDb(Bank().GetFirstBands()[0], 5000.0, kRate), 1e-6);
  } else {
    // Band 0 alone, as the builder designs it at the processing rate.
    BandFilter soloed;
    DesignBand(soloed, kTypeAPeak, 1000.0, 12.0, 1.0, 0, kRate, true);
    for (double f : {1000.0, 5000.0}) EXPECT_NEAR(SpectrumDb(after, f, kRate), BandDb(soloed, f, kRate), 0.05) << f;
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, SoloRedesign, ::testing::Values(0, 1, 5));

// ---- Oversampling, filter modes and latency ---------------------------------------

TEST_F(DispatchTest, OsModeTwoIsFactorFourAndLinearPhaseMaxGrowsTo65536) {
  SetViaControl(Plug(), kParamFilterMode, 6);
  EXPECT_EQ(Plug().GetEngine().GetFirLength(), 16384);
  SetViaControl(Plug(), kParamOSMode, 2);
  EXPECT_EQ(M().osFactor, 4);
  EXPECT_EQ(Plug().GetEngine().GetFirLength(), 65536);
  EXPECT_EQ(Bank().GetImpulse().GetLength(), 65536);
  EXPECT_EQ(Plug().GetEngine().GetOversampling().GetFactor(), 4);
  EXPECT_TRUE(Plug().GetEngine().GetOversampling().IsActive());
  EXPECT_DOUBLE_EQ(Bank().GetFirstBands()[0].mSampleRate, 4 * kRate);
  EXPECT_DOUBLE_EQ(Bank().GetDisplayBands()[0].mSampleRate, 2 * kRate);

  SetViaControl(Plug(), kParamOSMode, 1);
  EXPECT_EQ(M().osFactor, 2);
  EXPECT_EQ(Plug().GetEngine().GetFirLength(), 32768);
  SetViaControl(Plug(), kParamOSMode, 0);
  EXPECT_EQ(M().osFactor, 1);
  EXPECT_FALSE(Plug().GetEngine().GetOversampling().IsActive());
}

struct LatencyCase {
  int filterMode;
  int osMode;
  bool osFirst;
};

class LatencyIsReported : public ::testing::TestWithParam<LatencyCase>, public PlugFixture {};

TEST_P(LatencyIsReported, EveryPartThatDependsOnItFollows) {
  const LatencyCase c = GetParam();
  Peak(2, 800.0, 6.0, 1.0);
  // Start from a different mode, so the change is real in both orders.
  SetViaControl(Plug(), kParamDAVILiteMode, 1);
  if (c.osFirst) SetViaControl(Plug(), kParamOSMode, c.osMode);
  SetViaControl(Plug(), kParamFilterMode, c.filterMode);
  if (!c.osFirst) SetViaControl(Plug(), kParamOSMode, c.osMode);

  // Two FIR responses in series for the minimum-phase modes, three for the
  // linear-phase ones, at every factor (the length grows with it), plus the
  // converters' own delay.
  static const int kFilterPart[] = {0, 4096, 8192, 32768, 6144, 12288, 49152};
  const int factor = c.osMode == 2 ? 4 : c.osMode == 1 ? 2 : 1;
  const int converter = factor > 1 ? OversamplingStage::ConverterLatencyFor(kRate, factor) : 0;
  const int expected = kFilterPart[c.filterMode] + converter;

  const EqualizerEngine& engine = Plug().GetEngine();
  EXPECT_EQ(engine.GetTotalLatency(), expected);
  EXPECT_EQ(engine.GetInputMeterDelay(0), expected);
  EXPECT_EQ(engine.GetInputMeterDelay(1), expected);
  EXPECT_EQ(Plug().TotalLatency(), expected);
  EXPECT_EQ(Plug().GetLoudnessMatcher().GetDelayLength(), expected);
  EXPECT_EQ(Plug().PreAnalyzer()->DelaySamples(), expected);
  EXPECT_EQ(Plug().PostAnalyzer()->DelaySamples(), 0);
  // The host hears of it from the next block.
  Process(Plug(), std::vector<double>(64, 0.0), std::vector<double>(64, 0.0));
  EXPECT_EQ(Plug().GetLatency(), expected);
}

std::vector<LatencyCase> AllLatencyCases() {
  std::vector<LatencyCase> cases;
  for (int mode = 0; mode <= 6; ++mode) {
    for (int os = 0; os <= 2; ++os) {
      cases.push_back({mode, os, true});
      cases.push_back({mode, os, false});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Modes, LatencyIsReported, ::testing::ValuesIn(AllLatencyCases()));

TEST_F(DispatchTest, FilterModeAtItsOwnValueKeepsTheLatencyAndTheLoudnessMatch) {
  SetViaControl(Plug(), kParamDAVILiteMode, 2);
  SetViaControl(Plug(), kParamFilterMode, 1);
  EXPECT_EQ(Plug().GetLoudnessMatcher().GetDelayLength(), 4096);
  const std::vector<double> noise = [] {
    std::vector<double> v(8192);
    for (size_t i = 0; i < v.size(); ++i) v[i] = std::sin(0.37 * i) * 0.5;
    return v;
  }();
  Process(Plug(), noise, noise);
  const double envelope = Plug().GetLoudnessMatcher().GetInputEnvelope();
  ASSERT_GT(envelope, 0.0);

  // A state load sends the value the mode already has: latency taken
  // afresh, nothing restarted.
  SetFromHost(Plug(), kParamFilterMode, 1);
  EXPECT_EQ(Plug().GetEngine().GetTotalLatency(), 4096);
  EXPECT_EQ(Plug().GetEngine().GetInputMeterDelay(0), 4096);
  EXPECT_EQ(Plug().GetLoudnessMatcher().GetInputEnvelope(), envelope);

  // A real change sets the match up again for the new latency.
  SetFromHost(Plug(), kParamFilterMode, 4);
  EXPECT_EQ(Plug().GetLoudnessMatcher().GetDelayLength(), 6144);
  EXPECT_EQ(Plug().GetLoudnessMatcher().GetInputEnvelope(), 0.0);
  EXPECT_EQ(Plug().GetLoudnessMatcher().GetMode(), 2);
}

TEST_F(DispatchTest, ARateChangeKeepsTheLoudnessMatchOnTheFinalLatency) {
  SetViaControl(Plug(), kParamDAVILiteMode, 1);
  SetViaControl(Plug(), kParamOSMode, 1);
  SetViaControl(Plug(), kParamFilterMode, 5);
  Plug().SetSampleRate(96000.0);
  Plug().Reset();
  const int expected = 12288 + OversamplingStage::ConverterLatencyFor(96000.0, 2);
  EXPECT_EQ(Plug().GetEngine().GetTotalLatency(), expected);
  EXPECT_EQ(Plug().TotalLatency(), expected);
  EXPECT_EQ(Plug().GetLoudnessMatcher().GetDelayLength(), expected);
}

TEST_F(DispatchTest, OsChangeRestartsMeterTimingAndLamps) {
  Process(Plug(), std::vector<double>(100, 0.0), std::vector<double>(100, 0.0));
  ASSERT_EQ(Plug().GetMeterTiming().MeterRefreshCounter(), 100);
  SetViaControl(Plug(), kParamMainMeterMode, 1);
  SetViaControl(Plug(), kParamOSMode, 1);
  EXPECT_EQ(Plug().GetMeterTiming().MeterRefreshCounter(), 0);
  EXPECT_EQ(Plug().GetMeterTiming().MeterRefreshInterval(), 735);
  EXPECT_EQ(Plug().GetMeters().MeterModeValue(), 1);
  EXPECT_DOUBLE_EQ(Plug().GetMeters().SampleRate(), kRate);
  EXPECT_EQ(Plug().GetMeters().InputClipLamp().HoldSamples(), 132300);
  EXPECT_NEAR(Plug().GetMeters().OutputClipLamp().FallCoeff(), std::pow(10.0, -1.0 / (0.1 * kRate)), 1e-15);
}

// ---- Meters, tooltips, GUI scale ---------------------------------------------------

TEST_F(DispatchTest, MeterModeAndChannelModeReachBothMeters) {
  SetViaControl(Plug(), kParamMainMeterMode, 4);
  EXPECT_EQ(Plug().GetMeters().MeterModeValue(), 4);
  SetViaControl(Plug(), kParamMainMeterChannelMode, 3);
  EXPECT_EQ(Plug().GetMeters().ChannelModeValue(), 3);
  EXPECT_EQ(Plug().GetMeters().MeterModeValue(), 4);
  SetFromHost(Plug(), kParamMainMeterMode, 0);
  EXPECT_EQ(Plug().GetMeters().MeterModeValue(), 0);
  EXPECT_EQ(Plug().GetMeters().ChannelModeValue(), 3);
}

TEST_F(DispatchTest, TooltipsOffClearsOneFlagOnSetsBoth) {
  IGraphics* graphics = Plug().GetGUI();
  SetViaControl(Plug(), kParamToggleTooltips, 0);
  EXPECT_FALSE(graphics->mShowTooltips);
  graphics->mTooltipsActive = false;
  SetViaControl(Plug(), kParamToggleTooltips, 1);
  EXPECT_TRUE(graphics->mShowTooltips);
  EXPECT_TRUE(graphics->mTooltipsActive);
}

struct ScaleCase {
  int index;
  double scale;
};

class GuiScale : public ::testing::TestWithParam<ScaleCase>, public PlugFixture {};

TEST_P(GuiScale, SetsTheScalePairAndAsksForAResize) {
  const ScaleCase c = GetParam();
  SetViaControl(Plug(), kParamGUIScale, c.index);
  EXPECT_EQ(M().guiScaleIdx, c.index);
  EXPECT_DOUBLE_EQ(Plug().GuiScaleX(), c.scale);
  EXPECT_DOUBLE_EQ(Plug().GuiScaleY(), c.scale);
  // The resize waits for the editor: the editor hooks' tests follow it.
  EXPECT_TRUE(Plug().IsResizeRequested());
}

INSTANTIATE_TEST_SUITE_P(Indices, GuiScale,
                         ::testing::Values(ScaleCase{0, 0.5}, ScaleCase{1, 0.75}, ScaleCase{3, 1.25}, ScaleCase{4, 1.5},
                                           ScaleCase{5, 1.75}, ScaleCase{6, 2.0}));

TEST_F(DispatchTest, GuiScaleAtItsOwnIndexAsksForNothing) {
  SetFromHost(Plug(), kParamGUIScale, 2);
  EXPECT_FALSE(Plug().IsResizeRequested());
  EXPECT_DOUBLE_EQ(Plug().GuiScaleX(), 1.0);
}

// ---- Display parameters ------------------------------------------------------------

struct ScopeCopyCase {
  int paramIdx;
  double value;
  double (*read)(const IScope&);
};

class ScopeCopy : public ::testing::TestWithParam<ScopeCopyCase>, public PlugFixture {};

TEST_P(ScopeCopy, TheGraphShowsTheValue) {
  const ScopeCopyCase c = GetParam();
  SetViaControl(Plug(), c.paramIdx, c.value);
  EXPECT_NEAR(c.read(Scope()), c.value, 1e-9) << c.paramIdx;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ScopeCopy,
    ::testing::Values(
        ScopeCopyCase{kParamAB, 0, [](const IScope& s) { return double(s.mAB); }},
        ScopeCopyCase{kParamSpectrumSlope, 4.5, [](const IScope& s) { return s.mSlope; }},
        ScopeCopyCase{kParamPreFilterSpectrum, 0, [](const IScope& s) { return double(s.mShowPre); }},
        ScopeCopyCase{kParamPostFilterSpectrum, 0, [](const IScope& s) { return double(s.mShowPost); }},
        ScopeCopyCase{kParamAnalyzerMode, 3, [](const IScope& s) { return double(s.mAnalyzerChannel); }},
        ScopeCopyCase{kParamShowReference, 1, [](const IScope& s) { return double(s.mShowReference); }},
        ScopeCopyCase{kParamAnalyzerShowGrid, 0, [](const IScope& s) { return double(s.mShowGrid); }},
        ScopeCopyCase{kParamShowAddEQCurves, 0, [](const IScope& s) { return double(s.mShowAddCurves); }},
        ScopeCopyCase{kParamShowMusicalNote, 1, [](const IScope& s) { return double(s.mShowNote); }},
        ScopeCopyCase{kParamEQCheatSheet, 9, [](const IScope& s) { return double(s.mCheatSheet); }},
        ScopeCopyCase{kParamSmoothSpectrumCurve, 5, [](const IScope& s) { return double(s.mSmoothMode); }},
        ScopeCopyCase{kParamFrequencyTracking, 2, [](const IScope& s) { return double(s.mFreqTracking); }},
        ScopeCopyCase{kParamSpectrogramMode, 2, [](const IScope& s) { return double(s.mSpectrogramMode); }},
        ScopeCopyCase{kParamPredictivePostSpectrum, 1, [](const IScope& s) { return double(s.mPredictivePost); }},
        ScopeCopyCase{kParamFScale, 40, [](const IScope& s) { return s.mFreqZoom * 100.0; }},
        ScopeCopyCase{kParamFOffset, 70, [](const IScope& s) { return s.mFreqOffset * 100.0; }}));

TEST_F(DispatchTest, OffsetsAreKeptOnATenthOfADecibel) {
  SetFromHost(Plug(), kParamDBOffset, 12.34);
  EXPECT_DOUBLE_EQ(M().dbOffsetDb, 12.3);
  EXPECT_DOUBLE_EQ(Scope().mSpecDbOffset, -12.3);
  SetFromHost(Plug(), kParamRefAGV, -3.36);
  EXPECT_DOUBLE_EQ(M().refAGVDb, -3.4);
  EXPECT_DOUBLE_EQ(Scope().mRefGain, -3.4);
}

TEST_F(DispatchTest, DeltaFlagIsOnExactlyForOne) {
  const struct {
    double value;
    int shown;
  } cases[] = {{1.0, 1}, {0.0, 0}, {0.7, 0}, {1.0, 1}, {0.999, 0}};
  for (const auto& c : cases) {
    SetFromHost(Plug(), kParamDeltaSpectrum, c.value);
    EXPECT_EQ(Scope().mShowDelta, c.shown) << c.value;
    EXPECT_EQ(M().deltaSpectrum, c.shown) << c.value;
  }
}

TEST_F(DispatchTest, AudioPathSwitchesReachTheMirrors) {
  SetViaControl(Plug(), kParamPhase, 1);
  SetViaControl(Plug(), kParamOutputGain, -6.0);
  SetViaControl(Plug(), kParamHold, 1);
  EXPECT_EQ(M().phase, 1);
  EXPECT_DOUBLE_EQ(M().outputGainDb, -6.0);
  EXPECT_EQ(M().hold, 1);
  const std::vector<std::vector<double>> out = Process(Plug(), Impulse(16), Impulse(16));
  EXPECT_NEAR(out[0][0], -std::pow(10.0, -6.0 / 20.0), 1e-12);
}

// ---- Re-entrancy ------------------------------------------------------------------

// A control that, when the plug-in pushes a value through it, changes
// another parameter and announces it, as a linked editor control might.
class NestingControl : public IControl {
 public:
  NestingControl(Brimlow* plug, int paramIdx, int nestedIdx) : IControl(plug, IRECT(), paramIdx), mNested(nestedIdx) {}
  void SetValueFromUserInput(double value) override {
    IControl::SetValueFromUserInput(value);
    GetPlug()->GetParam(mNested)->Set(10.0);
    GetPlug()->OnParamChange(mNested);
    ++calls;
  }
  int calls = 0;

 private:
  int mNested;
};

TEST_F(DispatchTest, ANestedChangeDoesNothingUntilTheOuterOneIsDone) {
  const int gain = BandParamIndex(6, kBandGain);
  auto* nesting = new NestingControl(&Plug(), BandParamIndex(7, kBandSolo), gain);
  Plug().GetGUI()->AttachControl(nesting);
  SetViaControl(Plug(), BandParamIndex(2, kBandSolo), 1.0);
  ASSERT_EQ(nesting->calls, 1);
  EXPECT_EQ(Plug().GetParam(gain)->Value(), 10.0);
  EXPECT_EQ(M().bandGain[6], 0.0);
  // The flag is clear again: the next change goes through.
  Plug().OnParamChange(gain);
  EXPECT_EQ(M().bandGain[6], 10.0);
}

TEST_F(DispatchTest, TagsAndIndicesWithoutAHandlerRunOnlyTheTail) {
  SetFromHost(Plug(), BandParamIndex(0, kBandGain), 4.0);
  {
    // A value the dispatch has not been told of yet stays out of the mirror.
    WDL_MutexLock lock(Plug().GetMutex());
    Plug().GetParam(BandParamIndex(0, kBandGain))->Set(9.0);
  }
  for (int idx : {-1, 138, 150, 161, 162, 1000}) Plug().OnParamChange(idx);
  EXPECT_EQ(M().bandGain[0], 4.0);
  // The tail raised the refresh flags for the editor.
  EXPECT_TRUE(const_cast<MeterRefreshTiming&>(Plug().GetMeterTiming()).TakeMeterRefreshDue());
}

}  // namespace
