// The plug-in's threads at once, as a host runs them: the audio thread
// renders while the main thread automates parameters, saves and restores
// the state (host calls, which also move the editor's controls), refreshes
// the analysers and runs the idle hook, and the editor's idle thread ticks. Meant for ThreadSanitizer, which reports
// any access the plug mutex or the atomics do not order; the values are
// checked too.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "plugin/controller/Brimlow.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/plugin/controller/PlugHost.h"

namespace {

using Clock = std::chrono::steady_clock;

TEST(BrimlowConcurrency, AudioHostAndGuiThreadsShareThePlugIn) {
  ScopedDataHome home;
  ASSERT_TRUE(home.Ok());
  std::unique_ptr<Brimlow> plug(MakePlug());
  plug->SetSampleRate(48000.0);
  plug->SetBlockSize(256);
  plug->Reset();
  // Listening to an analyser-heavy set-up: every curve fed and shown.
  PlugHost::SetParam(*plug, kParamFilterMode, 1, false);  // "MinimumPhase Eco"
  for (int b = 0; b < 4; ++b) {
    PlugHost::SetParam(*plug, BandParamIndex(b, kBandActive), 1, false);
    PlugHost::SetParam(*plug, BandParamIndex(b, kBandGain), 6.0 - 4.0 * b, false);
  }

  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(1500);
  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0}, changes{0}, refreshes{0};
  std::atomic<bool> finite{true};

  std::thread audio([&] {
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    std::vector<float> in0(256), in1(256), out0(256), out1(256);
    while (!stop.load()) {
      for (int i = 0; i < 256; ++i) in0[i] = noise(rng), in1[i] = noise(rng);
      float* in[2] = {in0.data(), in1.data()};
      float* out[2] = {out0.data(), out1.data()};
      PlugHost::Render(*plug, in, out, 2, 256, blocks.load() % 50 == 49);
      for (int i = 0; i < 256; ++i) {
        if (!std::isfinite(out0[i]) || !std::isfinite(out1[i])) finite.store(false);
      }
      blocks.fetch_add(1);
    }
  });

  // Host calls and the editor's timer share the main thread, as in the
  // host: both touch the editor's controls, which take no lock.
  std::thread mainThread([&] {
    std::mt19937 rng(2);
    // The display parameters and the band fields that reset no state come
    // most often, as in a real session; the modes now and then.
    const int often[] = {BandParamIndex(0, kBandGain), BandParamIndex(1, kBandFreq), BandParamIndex(2, kBandQ),
                         kParamOutputGain, kParamAnalyzerMode, kParamHold, kParamAnalyzerSpeed,
                         kParamHiResAnalyzer, kParamMainMeterMode, kParamMainMeterChannelMode,
                         kParamDAVILiteMode, kParamPhase, kParamAB, kParamGUIScale, kParamPostFilterSpectrum};
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    while (!stop.load()) {
      for (int n = 0; n < 4; ++n) {
        const int pick = static_cast<int>(rng() % 40);
        int idx = often[pick % (sizeof often / sizeof often[0])];
        if (pick == 39) idx = kParamOSMode;
        if (pick == 38) idx = static_cast<int>(rng() % kNumParams);
        PlugHost::SetParam(*plug, idx, unit(rng), true);
        changes.fetch_add(1);
        if (rng() % 8 == 0) {
          const std::vector<unsigned char> state = PlugHost::SaveState(*plug);
          EXPECT_GT(PlugHost::RestoreState(*plug, state), 0);
        }
      }
      plug->UpdateAnalyzers();
      plug->OnGUIIdle();
      const Meters::Reading r = plug->GetMeters().OutputReading();
      if (!std::isfinite(r.current) || !std::isfinite(r.maximumOut)) finite.store(false);
      refreshes.fetch_add(1);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });

  while (Clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  stop.store(true);
  audio.join();
  mainThread.join();

  EXPECT_TRUE(finite.load());
  // Each thread got to run, whatever the machine's load.
  EXPECT_GT(blocks.load(), 0);
  EXPECT_GT(changes.load(), 0);
  EXPECT_GT(refreshes.load(), 0);
  for (const SpectrumAnalyzer* a : {plug->PreAnalyzer(), plug->PostAnalyzer()}) {
    for (int i = 0; i < a->PointCount(); ++i) ASSERT_TRUE(std::isfinite(a->AverageCurve()[i])) << i;
  }
}

}  // namespace
