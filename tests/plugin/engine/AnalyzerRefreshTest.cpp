#include "plugin/engine/AnalyzerRefresh.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "framework/containers/WDL_Mutex.h"
#include "plugin/engine/SpectrumAnalyzer.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

void FeedSine(SpectrumAnalyzer& a, int frames, double hz, double fs, int offset = 0) {
  std::vector<double> x(frames);
  for (int i = 0; i < frames; ++i) x[i] = 0.5 * std::sin(2.0 * kPi * hz * (i + offset) / fs);
  double* in[1] = {x.data()};
  a.FeedInput(in, frames, 1, 0, false);
}

double CurvePeak(const SpectrumAnalyzer& a) {
  double peak = 0.0;
  for (int i = 0; i < a.PointCount(); ++i) peak = std::max(peak, a.MaxCurve()[i]);
  return peak;
}

struct GateCase {
  int32_t hold, predictive, postFilter;
  bool preUpdated, postUpdated;
};

const GateCase kGateCases[] = {
    {0, 0, 1, true, true},  {0, 1, 1, true, false}, {0, 0, 0, true, false},
    {0, 0, 2, true, false}, {1, 0, 1, false, false},
};

class RefreshGates : public ::testing::TestWithParam<GateCase> {};

}  // namespace

TEST_P(RefreshGates, HoldPredictiveAndPostSwitchesChooseTheAnalysers) {
  const GateCase c = GetParam();
  SpectrumAnalyzer pre, post;
  pre.SetEnabled(true);
  post.SetEnabled(true);
  FeedSine(pre, 9000, 1000.0, 44100.0);
  FeedSine(post, 9000, 1000.0, 44100.0);
  WDL_Mutex mutex;
  AnalyzerRefresh refresh{&pre, &post, &c.hold, &c.predictive, &c.postFilter};
  UpdateAnalyzers(refresh, &mutex);
  EXPECT_EQ(pre.Filled() < 9000, c.preUpdated);
  EXPECT_EQ(CurvePeak(pre) > 0.1, c.preUpdated);
  EXPECT_EQ(post.Filled() < 9000, c.postUpdated);
  EXPECT_EQ(CurvePeak(post) > 0.1, c.postUpdated);
}

INSTANTIATE_TEST_SUITE_P(Switches, RefreshGates, ::testing::ValuesIn(kGateCases));

TEST(UpdateAnalyzers, NullMirrorsAndAnalysersAreHarmless) {
  SpectrumAnalyzer pre;
  pre.SetEnabled(true);
  FeedSine(pre, 9000, 500.0, 44100.0);
  AnalyzerRefresh refresh;
  refresh.preAnalyzer = &pre;
  UpdateAnalyzers(refresh, nullptr);  // no post analyser, post switch reads 0
  EXPECT_GT(CurvePeak(pre), 0.1);
  UpdateAnalyzers(AnalyzerRefresh(), nullptr);
}

// The audio thread feeds, the GUI refreshes and a third thread sets the
// analysers up again (new frame lengths, grids and rates, resets), each
// under the mutex as its real caller does. Curves mapped outside the mutex
// must never land in memory a set-up freed: under the address sanitizer
// such a write fails the test (it caught a design that reallocated the
// curves on a new grid in most runs).
TEST(UpdateAnalyzers, RefreshAndSetUpNeverOverlapOnTheCurves) {
  SpectrumAnalyzer pre, post;
  WDL_Mutex mutex;
  for (SpectrumAnalyzer* a : {&pre, &post}) a->SetEnabled(true);
  const int32_t hold = 0, predictive = 0, postFilter = 1;
  AnalyzerRefresh refresh{&pre, &post, &hold, &predictive, &postFilter};
  std::atomic<bool> stop{false};

  std::thread audio([&] {
    std::vector<double> block(512);
    int offset = 0;
    while (!stop.load()) {
      for (int i = 0; i < 512; ++i) block[i] = 0.5 * std::sin(2.0 * kPi * 1000.0 * (offset + i) / 44100.0);
      offset += 512;
      double* in[1] = {block.data()};
      WDL_MutexLock lock(&mutex);
      pre.FeedInput(in, 512, 1, 0, false);
      post.FeedInput(in, 512, 1, -1, false);
    }
  });
  std::thread gui([&] {
    while (!stop.load()) UpdateAnalyzers(refresh, &mutex);
  });

  // ThreadSanitizer serialises the three threads: fewer rounds there, the
  // same mix of set-ups.
#ifdef BRIMLOW_TSAN_BUILD
  constexpr int kRounds = 250;
#else
  constexpr int kRounds = 1000;
#endif
  for (int round = 0; round < kRounds; ++round) {
    {
      WDL_MutexLock lock(&mutex);
      for (SpectrumAnalyzer* a : {&pre, &post}) {
        if (round % (kRounds / 4) == 0) {
          // A new rate and frame length remake every buffer.
          a->SetSampleRate(round % (kRounds / 2) ? 48000.0 : 44100.0);
          a->SetFftLength(round % (kRounds / 2) ? 16384 : 8192);
          a->AllocAnalyzerBuffers();
        } else if (round % 7 == 0) {
          a->ResetHistory();
        } else {
          a->InitAnalyzerPoints(round % 4);  // a new display grid
        }
      }
    }
    std::this_thread::yield();
  }
  stop.store(true);
  audio.join();
  gui.join();

  UpdateAnalyzers(refresh, &mutex);
  for (const SpectrumAnalyzer* a : {&pre, &post}) {
    for (int i = 0; i < a->PointCount(); ++i) {
      ASSERT_TRUE(std::isfinite(a->AverageCurve()[i]));
      ASSERT_TRUE(std::isfinite(a->SmoothedCurve()[i]));
      ASSERT_TRUE(std::isfinite(a->MaxCurve()[i]));
    }
  }
}
