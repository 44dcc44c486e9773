#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "editor/display/IScope.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/plugin/controller/PlugTestSupport.h"
#include "tests/plugin/controller/ReferencePoints.h"

namespace {

using plugtest::Process;
using plugtest::SetFromHost;
using plugtest::SetViaControl;

constexpr double kRate = 44100.0;

std::vector<double> Tone(int n) {
  std::vector<double> v(n);
  for (int i = 0; i < n; ++i) v[i] = 0.5 * std::sin(0.05 * i);
  return v;
}

class AnalyzerOperationsTest : public ::testing::Test {
 protected:
  ScopedDataHome mHome;
  std::unique_ptr<Brimlow> mPlug{MakePlug()};
  Brimlow& Plug() { return *mPlug; }
  IScope& Scope() { return *mPlug->GetScope(); }

  // The release coefficient written out: k whole hops per display frame.
  static double Coefficient(double seconds, int binCount) {
    const double k = std::trunc(binCount / (4 * 60.0));
    return std::pow(10.0, k / ((seconds / -100.0) * kRate));
  }
};

TEST_F(AnalyzerOperationsTest, SpeedSetsBothAnalysersAndTheCurveTheGraphDraws) {
  SetViaControl(Plug(), kParamShowMax, 1);
  EXPECT_TRUE(Scope().mShowMax);
  const struct {
    double ms;
    bool average;
  } cases[] = {{9999.0, true}, {9998.0, false}, {1000.0, false}, {9999.0, true}, {20.0, false}};
  for (const auto& c : cases) {
    SetViaControl(Plug(), kParamAnalyzerSpeed, c.ms);
    EXPECT_EQ(Plug().Mirrors().analyzerSpeedMs, c.ms);
    EXPECT_EQ(Scope().mShowAverage, c.average) << c.ms;
    EXPECT_EQ(Scope().mShowRunning, !c.average) << c.ms;
    EXPECT_TRUE(Scope().mShowMax);
    EXPECT_EQ(Scope().mFrameRate, 60.0);
    EXPECT_EQ(Scope().mAttackMs, 0.0);
    for (const SpectrumAnalyzer* a : {Plug().PreAnalyzer(), Plug().PostAnalyzer()}) {
      EXPECT_NEAR(a->FallCoeff(), Coefficient(c.ms / 1000.0, 4096), 1e-15) << c.ms;
      EXPECT_EQ(a->RiseCoeff(), 0.0);
    }
  }
  SetViaControl(Plug(), kParamShowMax, 0);
  EXPECT_FALSE(Scope().mShowMax);
  EXPECT_FALSE(Scope().mShowAverage);
}

TEST_F(AnalyzerOperationsTest, HiResRebuildsBothAnalysersAndLaysTheReferenceOnTheNewGrid) {
  const std::vector<double> freqs = referencetest::CapturePointFrequencies();
  ASSERT_EQ(static_cast<int>(freqs.size()), ReferenceCapture::GetCount());
  std::vector<double> mags(freqs.size());
  for (size_t i = 0; i < freqs.size(); ++i) mags[i] = 1.0 + std::log10(freqs[i]) * (i % 3);
  {
    // No loader is wired up yet: the test plays one.
    WDL_MutexLock lock(Plug().GetMutex());
    ASSERT_TRUE(const_cast<ReferenceCapture&>(Plug().Reference())
                    .Set(freqs.data(), mags.data(), static_cast<int>(freqs.size())));
  }
  SetViaControl(Plug(), kParamFilterMode, 1);
  SetViaControl(Plug(), kParamAnalyzerSpeed, 500.0);

  const struct {
    int hiRes;
    int fftLength;
  } cases[] = {{1, 32768}, {0, 8192}, {1, 32768}};
  for (const auto& c : cases) {
    Process(Plug(), Tone(4096), Tone(4096));
    SetViaControl(Plug(), kParamHiResAnalyzer, c.hiRes);
    const int bins = c.fftLength / 2;
    for (const SpectrumAnalyzer* a : {Plug().PreAnalyzer(), Plug().PostAnalyzer()}) {
      EXPECT_EQ(a->FftLength(), c.fftLength);
      EXPECT_EQ(a->BinCount(), bins);
      EXPECT_EQ(a->Overlap(), 4);
      EXPECT_EQ(a->Resolution(), 2);
      EXPECT_EQ(a->InputCapacity(), 2 * 44100);
      EXPECT_EQ(a->Filled(), 0);  // what was queued belongs to the old frames
      EXPECT_TRUE(a->Enabled());
      EXPECT_NEAR(a->FallCoeff(), Coefficient(0.5, bins), 1e-15);
    }
    EXPECT_EQ(Plug().PreAnalyzer()->DelaySamples(), 4096);
    EXPECT_EQ(Plug().PostAnalyzer()->DelaySamples(), 0);
    EXPECT_EQ(Scope().mSpectrumViews[IScope::kPreView].binCount, bins);
    EXPECT_EQ(Scope().mSpectrumViews[IScope::kPostView].binCount, bins);
    EXPECT_EQ(Scope().mReferenceCurveCount, bins);

    // The straight line between the reference points either side of each
    // bin's frequency (held to 10 .. 20000 Hz), written out here.
    ASSERT_EQ(Plug().ReferenceGridCount(), bins);
    const double* grid = Plug().ReferenceGrid();
    for (int i = 0; i < bins; i += 97) {
      const double f = std::clamp(i * (kRate / 2) / (bins - 1), 10.0, 20000.0);
      size_t j = 0;
      while (j + 2 < freqs.size() && freqs[j + 1] <= f) ++j;
      const double t = (f - freqs[j]) / (freqs[j + 1] - freqs[j]);
      EXPECT_NEAR(grid[i], mags[j] + t * (mags[j + 1] - mags[j]), 1e-9) << i;
    }
  }
}

TEST_F(AnalyzerOperationsTest, FilterModeAndAnalyzerModeChangesForgetWhatWasHeard) {
  const struct {
    int paramIdx;
    double value;
  } changes[] = {{kParamFilterMode, 2}, {kParamAnalyzerMode, 3}, {kParamFilterMode, 0}};
  for (const auto& c : changes) {
    Process(Plug(), Tone(2048), Tone(2048));
    ASSERT_GT(Plug().PreAnalyzer()->Filled(), 0);
    ASSERT_GT(Plug().PostAnalyzer()->Filled(), 0);
    SetFromHost(Plug(), c.paramIdx, c.value);
    EXPECT_EQ(Plug().PreAnalyzer()->Filled(), 0) << c.paramIdx;
    EXPECT_EQ(Plug().PostAnalyzer()->Filled(), 0) << c.paramIdx;
  }
  // The same analyser mode again keeps the queue.
  Process(Plug(), Tone(2048), Tone(2048));
  SetFromHost(Plug(), kParamAnalyzerMode, 3);
  EXPECT_GT(Plug().PreAnalyzer()->Filled(), 0);
}

TEST_F(AnalyzerOperationsTest, ResetMetersClearsLevelsAndMaxima) {
  SetViaControl(Plug(), kParamMainMeterMode, 1);
  Process(Plug(), Tone(8192), Tone(8192));
  ASSERT_GT(Plug().GetMeters().InputReading().maximumOut, 0.0);
  ASSERT_GT(Plug().GetMeters().OutputReading().current, 0.0);
  {
    WDL_MutexLock lock(Plug().GetMutex());
    Plug().ResetMeters();
  }
  for (const Meters::Reading& r : {Plug().GetMeters().InputReading(), Plug().GetMeters().OutputReading()}) {
    EXPECT_EQ(r.current, 0.0);
    EXPECT_EQ(r.maximumOut, 0.0);
  }
  // The mode stays.
  EXPECT_EQ(Plug().GetMeters().MeterModeValue(), 1);
}

}  // namespace
