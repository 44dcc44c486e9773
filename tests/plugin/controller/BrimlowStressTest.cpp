// The plug-in under a hostile host: every sample rate and block size a host
// may pick (and blocks that vary, some longer than announced), every filter
// and oversampling mode, mono and stereo, random automation of all 138
// parameters (out-of-range, infinite and NaN values among them), bypass
// switched on and off, the state saved and restored while audio runs, a
// rate change mid-run, and NaN, infinity, silence and full-scale squares in
// the input. The rows form a covering table, not the whole product.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "plugin/controller/Brimlow.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/plugin/controller/PlugHost.h"

namespace {

// Sanitizer and Debug builds run the same schedule on less audio and fewer
// parameter changes.
// A band change in a FIR mode rebuilds the impulse (a tenth of a second in
// "LinearPhase Max" at 4x), which bounds the changes made inside a run.
#ifdef BRIMLOW_SLOW_BUILD
constexpr double kSecondsScale = 0.25;
constexpr int kChangesPerRun = 10;
#else
constexpr double kSecondsScale = 1.0;
constexpr int kChangesPerRun = 30;
#endif

struct StressCase {
  const char* name;
  double sampleRate;
  int announcedBlock;
  std::vector<int> hostBlocks;  // cycled, one per host call
  int filterMode;
  int osMode;  // "OS Mode" index: 0 off, 1 2x, 2 4x
  int channels;
  double laterRate;  // a second Reset at this rate mid-run; 0 for none
  unsigned seed;
};

// Test names carry the row's name, not its bytes (which hold pointers).
void PrintTo(const StressCase& c, std::ostream* os) { *os << c.name; }

std::vector<StressCase> Cases() {
  return {
      {"R44100B1", 44100.0, 1, {1}, 0, 0, 2, 0.0, 1},
      {"R48000B2", 48000.0, 2, {2}, 4, 1, 2, 0.0, 2},
      {"R88200B17Mono", 88200.0, 17, {17}, 1, 2, 1, 0.0, 3},
      {"R96000B137", 96000.0, 137, {137}, 5, 0, 2, 0.0, 4},
      {"R192000B512", 192000.0, 512, {512}, 2, 1, 2, 0.0, 5},
      {"R44123B1024", 44123.0, 1024, {1024}, 6, 2, 2, 0.0, 6},
      {"R48000B4096Mono", 48000.0, 4096, {4096}, 3, 0, 1, 0.0, 7},
      {"R44100Varying", 44100.0, 512, {512, 1, 4096, 17, 9000, 333, 2048}, 0, 2, 2, 96000.0, 8},
      {"R96000Varying", 96000.0, 1024, {1, 1024, 1500, 64, 9192}, 6, 1, 2, 0.0, 9},
      {"R192000Varying", 192000.0, 137, {137, 1, 500, 2}, 3, 2, 2, 0.0, 10},
      {"R44123VaryingMono", 44123.0, 4096, {4096, 5000, 1, 700}, 4, 0, 1, 48000.0, 11},
  };
}

// What a sample of the host's float output may not be.
bool Bad(float x) {
  const int kind = std::fpclassify(x);
  return kind == FP_NAN || kind == FP_INFINITE || kind == FP_SUBNORMAL;
}

// One host-side change: plain or normalised, within the range, at its ends,
// or hostile (outside it, infinite, NaN).
struct Change {
  int idx;
  double value;
  bool normalized;
};

Change RandomChange(std::mt19937& rng, const Brimlow& plug, int idx) {
  const IParam* p = plug.GetParam(idx);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  switch (std::uniform_int_distribution<int>(0, 9)(rng)) {
    case 0:
    case 1:
    case 2:
    case 3: return {idx, p->GetMin() + unit(rng) * (p->GetMax() - p->GetMin()), false};
    case 4:
    case 5: return {idx, unit(rng), true};
    case 6: return {idx, unit(rng) < 0.5 ? p->GetMin() : p->GetMax(), false};
    case 7: return {idx, p->GetDefault(), false};
    case 8: {
      const double hostile[] = {nan, inf, -inf, p->GetMin() - 1e6, p->GetMax() + 1e6};
      return {idx, hostile[std::uniform_int_distribution<int>(0, 4)(rng)], false};
    }
    default: {
      const double hostile[] = {nan, inf, -0.5, 1.5};
      return {idx, hostile[std::uniform_int_distribution<int>(0, 3)(rng)], true};
    }
  }
}

// What the input of a stretch of the run holds.
enum class Signal { kNoise, kHostile, kSilence, kSquare, kImpulse };

class BrimlowStress : public ::testing::TestWithParam<StressCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mHome.Ok());
    const StressCase& c = GetParam();
    mRng.seed(c.seed);
    mPlug.reset(MakePlug());
    if (c.channels == 1) {
      mPlug->SetInputChannelConnections(1, 1, false);
      mPlug->SetOutputChannelConnections(1, 1, false);
    }
    mPlug->SetSampleRate(c.sampleRate);
    mPlug->SetBlockSize(c.announcedBlock);
    mPlug->Reset();
    PlugHost::SetParam(*mPlug, kParamFilterMode, c.filterMode, false);
    PlugHost::SetParam(*mPlug, kParamOSMode, c.osMode, false);
  }

  int Frames(double seconds) const {
    return std::max(1, static_cast<int>(seconds * kSecondsScale * GetParam().sampleRate));
  }

  void Fill(Signal signal, int frame, float* left, float* right, int n) {
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (int i = 0; i < n; ++i) {
      const long t = static_cast<long>(frame) + i;
      float l = 0.0f, r = 0.0f;
      switch (signal) {
        case Signal::kNoise: l = noise(mRng), r = noise(mRng); break;
        case Signal::kHostile: {
          l = noise(mRng), r = noise(mRng);
          const float bad[] = {nan, inf, -inf};
          if (t % 29 == 0) l = bad[t % 3];
          if (t % 41 == 0) r = bad[(t + 1) % 3];
          if (t % 1000 < 64) l = r = nan;  // whole runs of them
          break;
        }
        case Signal::kSilence: break;
        case Signal::kSquare: l = r = (t / 24) % 2 ? 1.0f : -1.0f; break;
        case Signal::kImpulse: l = r = t == mImpulseAt ? 1.0f : 0.0f; break;
      }
      left[i] = l;
      right[i] = r;
    }
  }

  // Runs `frames` frames of `signal` through the plug-in in the row's host
  // blocks, automating on the way, and checks every block. The output of
  // channel 0 goes to `kept` when it is given.
  void Run(Signal signal, int frames, bool bypassed, std::vector<float>* kept = nullptr) {
    const StressCase& c = GetParam();
    const int latency = mPlug->GetLatency();
    for (int done = 0; done < frames;) {
      const int n = std::min(c.hostBlocks[mCall++ % c.hostBlocks.size()], frames - done);
      std::vector<float> in0(n), in1(n), out0(n, 7.0f), out1(n, 7.0f);
      Fill(signal, mFrame, in0.data(), in1.data(), n);
      const std::vector<float> copy0 = in0, copy1 = in1;
      float* in[2] = {in0.data(), in1.data()};
      float* out[2] = {out0.data(), out1.data()};
      PlugHost::Render(*mPlug, in, out, c.channels, n, bypassed);

      EXPECT_EQ(std::memcmp(in0.data(), copy0.data(), n * sizeof(float)), 0) << "input changed at " << mFrame;
      EXPECT_EQ(std::memcmp(in1.data(), copy1.data(), n * sizeof(float)), 0) << "input changed at " << mFrame;
      for (int ch = 0; ch < c.channels; ++ch) {
        const std::vector<float>& o = ch ? out1 : out0;
        const auto bad = std::find_if(o.begin(), o.end(), Bad);
        ASSERT_EQ(bad, o.end()) << "channel " << ch << " frame " << mFrame + (bad - o.begin()) << ": " << *bad;
      }
      if (bypassed) {
        // Bypass is the input, as late as the processed path; from the
        // latency on, every sample came in during this bypass.
        mBypassIn0.insert(mBypassIn0.end(), copy0.begin(), copy0.end());
        mBypassIn1.insert(mBypassIn1.end(), copy1.begin(), copy1.end());
        for (int i = 0; i < n; ++i) {
          const int at = done + i - latency;
          if (at < 0) continue;
          for (int ch = 0; ch < c.channels; ++ch) {
            ASSERT_EQ((ch ? out1 : out0)[i], (ch ? mBypassIn1 : mBypassIn0)[at]) << "bypass frame " << done + i;
          }
        }
      }
      if (kept) kept->insert(kept->end(), out0.begin(), out0.end());
      done += n;
      mFrame += n;
      if (mAutomate && mFrame >= mNextChange) {
        Automate();
        mNextChange = mFrame + mChangeEvery;
      }
    }
  }

  void Automate(int idx = -1) {
    if (idx < 0) idx = std::uniform_int_distribution<int>(0, kNumParams - 1)(mRng);
    const Change change = RandomChange(mRng, *mPlug, idx);
    PlugHost::SetParam(*mPlug, change.idx, change.value, change.normalized);
    const IParam* p = mPlug->GetParam(idx);
    ASSERT_TRUE(p->Value() >= p->GetMin() && p->Value() <= p->GetMax())
        << "param " << idx << " holds " << p->Value() << " after " << change.value;
  }

  // Serialise, restore, serialise again: the same bytes, and the restore
  // reports success.
  void StateRoundTrip() {
    const std::vector<unsigned char> first = PlugHost::SaveState(*mPlug);
    ASSERT_FALSE(first.empty());
    EXPECT_GT(PlugHost::RestoreState(*mPlug, first), 0);
    const std::vector<unsigned char> second = PlugHost::SaveState(*mPlug);
    EXPECT_EQ(first, second);
  }

  ScopedDataHome mHome;
  std::unique_ptr<Brimlow> mPlug;
  std::mt19937 mRng;
  size_t mCall = 0;
  int mFrame = 0;
  long mImpulseAt = 0;
  bool mAutomate = false;
  int mNextChange = 0;
  int mChangeEvery = 1;
  std::vector<float> mBypassIn0, mBypassIn1;
};

TEST_P(BrimlowStress, SurvivesAHostileHostWithNothingLost) {
  const StressCase& c = GetParam();

  // Latency: an impulse through the flat defaults in the row's modes comes
  // out exactly as late as the plug-in reports.
  // The converters fill first, so the impulse comes a little later.
  const int engineLatency = mPlug->TotalLatency();
  const int lead = 4096 + 2 * *std::max_element(c.hostBlocks.begin(), c.hostBlocks.end());
  mImpulseAt = mFrame + lead;
  std::vector<float> response;
  ASSERT_NO_FATAL_FAILURE(Run(Signal::kImpulse, lead + engineLatency + 4096, false, &response));
  const int peak = static_cast<int>(std::max_element(response.begin(), response.end(),
                                                     [](float a, float b) { return std::fabs(a) < std::fabs(b); }) -
                                    response.begin());
  EXPECT_EQ(mPlug->GetLatency(), engineLatency);
  EXPECT_EQ(peak - lead, mPlug->GetLatency());
  EXPECT_GT(std::fabs(response[peak]), 0.5f);

  // Between runs: every parameter somewhere random, the modes too, made in
  // "Zero Latency" (where a band change costs no impulse) and ending in the
  // row's modes.
  PlugHost::SetParam(*mPlug, kParamFilterMode, 0, false);
  for (int idx = 0; idx < kNumParams; ++idx) {
    if (idx == kParamFilterMode) continue;
    ASSERT_NO_FATAL_FAILURE(Automate(idx));
  }
  PlugHost::SetParam(*mPlug, kParamOSMode, c.osMode, false);
  PlugHost::SetParam(*mPlug, kParamFilterMode, c.filterMode, false);

  // Inside the run: a few parameters, modes included, every so often.
  const int planned = Frames(1.2) + 2 * (mPlug->GetEngine().GetMaxLatency() / 4);
  mChangeEvery = std::max(1, planned / kChangesPerRun);
  mNextChange = mFrame + mChangeEvery;
  mAutomate = true;

  ASSERT_NO_FATAL_FAILURE(Run(Signal::kNoise, Frames(0.3), false));
  ASSERT_NO_FATAL_FAILURE(Run(Signal::kHostile, 3000, false));
  ASSERT_NO_FATAL_FAILURE(Run(Signal::kSilence, Frames(0.3), false));
  ASSERT_NO_FATAL_FAILURE(StateRoundTrip());
  if (c.laterRate > 0.0) {
    WDL_MutexLock lock(mPlug->GetMutex());
    mPlug->SetSampleRate(c.laterRate);
    mPlug->Reset();
  }
  ASSERT_NO_FATAL_FAILURE(Run(Signal::kSquare, Frames(0.1), false));
  ASSERT_NO_FATAL_FAILURE(StateRoundTrip());
  // Clean input for longer than the latency, so the bypass line holds none
  // of the hostile samples the host sent.
  ASSERT_NO_FATAL_FAILURE(Run(Signal::kNoise, mPlug->GetLatency() + 8192, false));
  ASSERT_NO_FATAL_FAILURE(Run(Signal::kNoise, mPlug->GetLatency() + Frames(0.1), true));
  ASSERT_NO_FATAL_FAILURE(Run(Signal::kNoise, Frames(0.1), false));
  mBypassIn0.clear();
  mBypassIn1.clear();
  ASSERT_NO_FATAL_FAILURE(Run(Signal::kNoise, Frames(0.05), true));
  ASSERT_NO_FATAL_FAILURE(Run(Signal::kSilence, Frames(0.1), false));
  mAutomate = false;
  ASSERT_NO_FATAL_FAILURE(StateRoundTrip());

  // Whatever the host did, the readouts the editor draws are numbers.
  mPlug->UpdateAnalyzers();
  mPlug->OnGUIIdle();
  for (const Meters::Reading& r : {mPlug->GetMeters().InputReading(), mPlug->GetMeters().OutputReading()}) {
    EXPECT_TRUE(std::isfinite(r.current) && std::isfinite(r.maximumOut) && std::isfinite(r.clipLamp));
  }
  for (const SpectrumAnalyzer* a : {mPlug->PreAnalyzer(), mPlug->PostAnalyzer()}) {
    for (int i = 0; i < a->PointCount(); ++i) {
      ASSERT_TRUE(std::isfinite(a->AverageCurve()[i]) && std::isfinite(a->MaxCurve()[i])) << "point " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Hosts, BrimlowStress, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<StressCase>& info) { return info.param.name; });

}  // namespace
