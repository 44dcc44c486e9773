#include "plugin/controller/Brimlow.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "editor/EditorLayout.h"
#include "editor/display/IScope.h"
#include "framework/LatencyDelayLine.h"
#include "graphics/IControl.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/IPanelControl.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/plugin/controller/PlugTestSupport.h"
#include "tests/plugin/controller/TempDataHome.h"

namespace {

// Every instance writes its data folders under a temporary XDG_DATA_HOME,
// never under the real home.
class BrimlowTest : public TempDataHomeTest {
 protected:
  static bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  // Runs frames through the block frame as the host binding does.
  static void Render(Brimlow& plug, std::vector<float>& left, std::vector<float>& right, std::vector<float>& outLeft,
                     std::vector<float>& outRight) {
    const int n = static_cast<int>(left.size());
    float* in[2] = {left.data(), right.data()};
    float* out[2] = {outLeft.data(), outRight.data()};
    WDL_MutexLock lock(plug.GetMutex());
    plug.AttachInputBuffers(0, 2, in, n);
    plug.AttachOutputBuffers(0, 2, out);
    plug.ProcessBuffers(n);
  }
};

TEST_F(BrimlowTest, MakePlugBuildsTheObjectWithoutAHost) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  ASSERT_NE(plug, nullptr);
  EXPECT_EQ(plug->NParams(), kNumParams);
  EXPECT_STREQ(plug->GetEffectName(), "Brimlow");
  EXPECT_STREQ(plug->GetMakerName(), "Kestrelbay");
  EXPECT_EQ(plug->GetEffectVersion(), 0x30203);
  EXPECT_EQ(plug->GetUniqueID(), 0x4B423330);  // 'KB30'
  EXPECT_EQ(plug->GetMakerID(), 0x4B425958);   // 'KBYX'
  EXPECT_TRUE(plug->IsXMLMode());
  EXPECT_STREQ(plug->GetVendorText(), "Kestrelbay");
  EXPECT_STREQ(plug->GetProductText(), "Brimlow");
  EXPECT_STREQ(plug->GetVersionText(), "3.2.3");
  EXPECT_STREQ(plug->PresetLabel(), "Init");

  // Defaults in the parameters; "OS Mode" is "Off".
  for (int i = 0; i < kNumParams; ++i) {
    EXPECT_DOUBLE_EQ(plug->GetParam(i)->Value(), plug->GetParam(i)->GetDefault()) << "param " << i;
  }
  EXPECT_EQ(plug->GetParam(kParamOSMode)->Value(), 0.0);
  EXPECT_EQ(plug->Mirrors().osFactor, 1);
  // Presets carry the band and mode parameters, not the display ones.
  EXPECT_TRUE(plug->GetParam(kParamFilterMode)->IsFlagged());
  EXPECT_FALSE(plug->GetParam(kParamGUIScale)->IsFlagged());

  IGraphics* graphics = plug->GetGUI();
  ASSERT_NE(graphics, nullptr);
  EXPECT_EQ(graphics->Width(), 872);
  EXPECT_EQ(graphics->Height(), 632);
  EXPECT_EQ(graphics->FPS(), 60);
  EXPECT_TRUE(graphics->IsIdleThreadRunning());

  EXPECT_TRUE(plug->IsDspReady());
  EXPECT_EQ(plug->NumInputs(), 2);
  EXPECT_EQ(plug->NumOutputs(), 2);
}

TEST_F(BrimlowTest, TheEditorHasABlackBackgroundAndRescalesItsGraph) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  IGraphics* graphics = plug->GetGUI();
  auto* background = dynamic_cast<IPanelControl*>(graphics->GetControl(0));
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(background->GetColor(), kColorBlack);
  EXPECT_EQ(background->GetRECT(), IRECT(0, 0, 872, 632));
  EXPECT_TRUE(graphics->GetHandleMouseOver());
  EXPECT_EQ(graphics->GetBitmapScaleX(), 2.0);
  EXPECT_EQ(plug->GetScope()->GetRECT(), IRECT(92, 84, 789, 428));

  // "150%": each edge of the graph scaled and truncated; the background stays.
  plug->SetParameterFromGUI(kParamGUIScale, plug->GetParam(kParamGUIScale)->ToNormalizedParam(4));
  EditorLayout::LayoutGUI(plug.get(), graphics, EditorLayout::kRescale);
  EXPECT_EQ(graphics->GetGUIScaleX(), 1.5);
  EXPECT_EQ(plug->GetScope()->GetRECT(), IRECT(138, 126, 138 + 1045, 126 + 516));
  EXPECT_EQ(background->GetRECT(), IRECT(0, 0, 872, 632));
}

TEST_F(BrimlowTest, DataFoldersLiveUnderTheApplicationSupportFolder) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  EXPECT_EQ(std::string(plug->DataPath().Get()), mDataHome + "/Brimlow/");
  EXPECT_EQ(std::string(plug->HostFormatPath().Get()), mDataHome + "/Brimlow/RTAS/");
  EXPECT_TRUE(IsDirectory(mDataHome + "/Brimlow"));
  EXPECT_TRUE(IsDirectory(mDataHome + "/Brimlow/RTAS"));

  // A folder that ends in "/" gets no second one; existing folders are kept.
  setenv("XDG_DATA_HOME", (mDataHome + "/").c_str(), 1);
  std::unique_ptr<Brimlow> second(MakePlug());
  EXPECT_EQ(std::string(second->DataPath().Get()), mDataHome + "/Brimlow/");
}

TEST_F(BrimlowTest, InstancesMadeAtOnceAreAllComplete) {
  std::vector<std::unique_ptr<Brimlow>> plugs(4);
  std::vector<std::thread> threads;
  for (auto& plug : plugs) threads.emplace_back([&plug] { plug.reset(MakePlug()); });
  for (auto& thread : threads) thread.join();
  for (auto& plug : plugs) {
    ASSERT_NE(plug, nullptr);
    EXPECT_TRUE(plug->IsDspReady());
  }
}

TEST_F(BrimlowTest, TeardownWithTheIdleThreadRunningIsClean) {
  // The idle thread ticks every 10 ms; tearing down within and across
  // ticks must neither leak nor touch freed members (ASan checks both).
  for (int i = 0; i < 8; ++i) {
    Brimlow* plug = MakePlug();
    ASSERT_TRUE(plug->GetGUI()->IsIdleThreadRunning());
    if (i % 2) std::this_thread::sleep_for(std::chrono::milliseconds(15));
    delete plug;
  }
}

TEST_F(BrimlowTest, DspStateExistsFromConstruction) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  ASSERT_NE(plug->PreAnalyzer(), nullptr);
  ASSERT_NE(plug->PostAnalyzer(), nullptr);
  EXPECT_DOUBLE_EQ(plug->PreAnalyzer()->SampleRate(), 44100.0);
  EXPECT_EQ(plug->PreAnalyzer()->PointCount(), 134);
  EXPECT_EQ(plug->PostAnalyzer()->PointCount(), 134);
  EXPECT_TRUE(plug->PreAnalyzer()->Enabled());
  // 16.67 ms and 1 s at 44.1 kHz.
  EXPECT_EQ(plug->GetMeterTiming().MeterRefreshInterval(), 735);
  EXPECT_EQ(plug->GetMeterTiming().OneShotSamples(), 44100);
  EXPECT_EQ(plug->GetMeters().InputClipLamp().HoldSamples(), 132300);

  // The reference exists, zeroed, for a state save of a fresh instance.
  ASSERT_EQ(plug->Reference().GetCount(), 134);
  for (int i = 0; i < 134; ++i) {
    EXPECT_EQ(plug->Reference().GetFrequencies()[i], 0.0);
    EXPECT_EQ(plug->Reference().GetMagnitudes()[i], 0.0);
  }
  ASSERT_NE(plug->ReferenceGrid(), nullptr);
  EXPECT_EQ(plug->ReferenceGridCount(), plug->PreAnalyzer()->BinCount());
  for (int i = 0; i < plug->ReferenceGridCount(); ++i) ASSERT_EQ(plug->ReferenceGrid()[i], 0.0);
}

TEST_F(BrimlowTest, ResetWithAnUnchangedRateRedesignsNothing) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  plug->Reset();  // first reset: the block size the binding set
  const int blockSize = plug->DspBlockSize();

  // Queue samples in the pre analyser; a rebuild would drop them.
  std::vector<float> left(4000, 0.25f), right(4000, 0.25f), outL(4000), outR(4000);
  Render(*plug, left, right, outL, outR);
  const int filled = plug->PreAnalyzer()->Filled();
  const int counter = plug->GetMeterTiming().MeterRefreshCounter();
  ASSERT_GT(filled, 0);
  ASSERT_GT(counter, 0);

  plug->Reset();
  EXPECT_EQ(plug->PreAnalyzer()->Filled(), filled);
  EXPECT_EQ(plug->GetMeterTiming().MeterRefreshCounter(), counter);
  EXPECT_EQ(plug->DspBlockSize(), blockSize);

  // A new rate rebuilds for it.
  plug->SetSampleRate(96000.0);
  plug->Reset();
  EXPECT_DOUBLE_EQ(plug->DspSampleRate(), 96000.0);
  EXPECT_DOUBLE_EQ(plug->PreAnalyzer()->SampleRate(), 96000.0);
  EXPECT_EQ(plug->PreAnalyzer()->Filled(), 0);
  EXPECT_EQ(plug->GetMeterTiming().MeterRefreshInterval(), 1600);
  EXPECT_EQ(plug->GetMeters().OutputClipLamp().HoldSamples(), 288000);
  EXPECT_EQ(plug->ReferenceGridCount(), plug->PreAnalyzer()->BinCount());
  EXPECT_DOUBLE_EQ(plug->GetEngine().GetSampleRate(), 96000.0);
  // The loudness match lines its input up with the latency at the new rate.
  EXPECT_EQ(plug->GetLoudnessMatcher().GetDelayLength(), plug->TotalLatency());
  EXPECT_EQ(plug->TotalLatency(), plug->GetEngine().GetTotalLatency());
}

TEST_F(BrimlowTest, ResetIgnoresARateThatIsNoPositiveNumber) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  plug->Reset();
  for (double rate : {std::nan(""), 0.0, -48000.0, HUGE_VAL}) {
    plug->SetSampleRate(rate);
    plug->Reset();
    EXPECT_DOUBLE_EQ(plug->DspSampleRate(), 44100.0) << rate;
    EXPECT_DOUBLE_EQ(plug->GetEngine().GetSampleRate(), 44100.0) << rate;
  }
  // Audio still runs at the rate the DSP was built for.
  std::vector<float> left(256, 0.5f), right(256, 0.5f), outL(256), outR(256);
  Render(*plug, left, right, outL, outR);
  EXPECT_NEAR(outL[255], 0.5f, 1e-6);
}

TEST_F(BrimlowTest, ResetRefusesARateAboveTheHighestItRunsAt) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  plugtest::SetFromHost(*plug, kParamFilterMode, 1);
  plugtest::SetFromHost(*plug, kParamOSMode, 1);
  plug->Reset();
  const int latency = plug->TotalLatency();
  ASSERT_GT(latency, 0);
  // Asserted rate by rate: a rate taken sizes the buffers for it, which for
  // the larger ones is gigabytes.
  for (double rate : {768000.5, 1.0e6, 1.0e8, 2147483647.0, std::numeric_limits<double>::max()}) {
    plug->SetSampleRate(rate);
    plug->Reset();
    ASSERT_DOUBLE_EQ(plug->DspSampleRate(), 44100.0) << rate;
    ASSERT_DOUBLE_EQ(plug->GetEngine().GetSampleRate(), 44100.0) << rate;
    ASSERT_DOUBLE_EQ(plug->PreAnalyzer()->SampleRate(), 44100.0) << rate;
    // The latency stays that of the rate the DSP runs at.
    ASSERT_EQ(plug->TotalLatency(), latency) << rate;
  }
  const int n = 4096;
  std::vector<float> left(n, 0.5f), right(n, 0.5f), outL(n), outR(n);
  Render(*plug, left, right, outL, outR);
  EXPECT_EQ(plug->GetLatency(), latency);
  for (int i = 0; i < n; ++i) ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i])) << i;

  // The highest rate itself is taken.
  plug->SetSampleRate(768000.0);
  plug->Reset();
  EXPECT_DOUBLE_EQ(plug->DspSampleRate(), 768000.0);
  EXPECT_DOUBLE_EQ(plug->GetEngine().GetSampleRate(), 768000.0);
  EXPECT_DOUBLE_EQ(plug->PreAnalyzer()->SampleRate(), 768000.0);
}

TEST_F(BrimlowTest, LatencyChangesReuseTheReservedBypassLine) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  LatencyDelayLine* line = plug->GetLatencyDelayLine();
  ASSERT_NE(line, nullptr);
  const int maxLatency = plug->GetEngine().GetMaxLatency();
  ASSERT_GT(maxLatency, 0);
  plug->SetLatency(1);
  const double* storage = line->GetStorage();
  ASSERT_NE(storage, nullptr);
  for (int latency : {maxLatency, maxLatency / 2, 0, maxLatency}) {
    plug->SetLatency(latency);
    EXPECT_EQ(line->GetLength(), latency);
    // A length of 0 shows no storage, but keeps the block for the next.
    if (latency > 0) {
      EXPECT_EQ(line->GetStorage(), storage) << latency;
    }
  }
}

TEST_F(BrimlowTest, ResetTakesTheChannelCountsEachTime) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  plug->SetInputChannelConnections(1, 1, false);
  plug->SetOutputChannelConnections(1, 1, false);
  plug->Reset();
  EXPECT_EQ(plug->NumInputs(), 1);
  EXPECT_EQ(plug->NumOutputs(), 1);

  // A mono instance still passes its one channel at the defaults.
  const int n = 512;
  std::vector<float> left(n), right(n, 0.0f), outL(n), outR(n);
  for (int i = 0; i < n; ++i) left[i] = static_cast<float>(0.3 * std::sin(0.05 * i));
  float* in[1] = {left.data()};
  float* out[1] = {outL.data()};
  {
    WDL_MutexLock lock(plug->GetMutex());
    plug->AttachInputBuffers(0, 1, in, n);
    plug->AttachOutputBuffers(0, 1, out);
    plug->ProcessBuffers(n);
  }
  for (int i = 0; i < n; ++i) ASSERT_NEAR(outL[i], left[i], 1e-6) << i;

  plug->SetInputChannelConnections(1, 1, true);
  plug->SetOutputChannelConnections(1, 1, true);
  plug->Reset();
  EXPECT_EQ(plug->NumInputs(), 2);
  EXPECT_EQ(plug->NumOutputs(), 2);
}

TEST_F(BrimlowTest, AudioRunsEndToEndAtTheDefaults) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  plug->Reset();
  const int n = 3000;  // several host blocks of the frame
  std::vector<float> left(n), right(n), outL(n, 9.0f), outR(n, 9.0f);
  for (int i = 0; i < n; ++i) {
    left[i] = static_cast<float>(0.5 * std::sin(2.0 * M_PI * 1000.0 * i / 44100.0));
    right[i] = static_cast<float>(0.25 * std::cos(2.0 * M_PI * 300.0 * i / 44100.0));
  }
  Render(*plug, left, right, outL, outR);
  for (int i = 0; i < n; ++i) {
    ASSERT_NEAR(outL[i], left[i], 1e-6) << i;
    ASSERT_NEAR(outR[i], right[i], 1e-6) << i;
  }
}

// A sine of amplitude a at f Hz, the same on both channels.
void FillSine(std::vector<float>& left, std::vector<float>& right, double amplitude, double hz, double rate) {
  for (size_t i = 0; i < left.size(); ++i) {
    left[i] = right[i] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * hz * static_cast<double>(i) / rate));
  }
}

TEST_F(BrimlowTest, PeakMetersReadTheSignalThroughThePlugIn) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  plug->Reset();
  IGraphics* graphics = plug->GetGUI();
  plug->mInputMeterControls.bar = graphics->AttachControl(new IControl(plug.get(), IRECT(0, 0, 10, 10)));
  plug->mOutputMeterControls.heldPeak = graphics->AttachControl(new IControl(plug.get(), IRECT(0, 0, 10, 10)));
  plug->mOutputMeterControls.clipLamp = graphics->AttachControl(new IControl(plug.get(), IRECT(0, 0, 10, 10)));

  // 0.5 of full scale: -6.02 dB on both meters ("Peak", "In/Out").
  const int n = 44100;
  std::vector<float> left(n), right(n), outL(n), outR(n);
  FillSine(left, right, 0.5, 1000.0, 44100.0);
  Render(*plug, left, right, outL, outR);
  const double expectedDb = 20.0 * std::log10(0.5);
  for (const Meters::Reading& r : {plug->GetMeters().InputReading(), plug->GetMeters().OutputReading()}) {
    EXPECT_NEAR(20.0 * std::log10(r.maximumOut * r.offsetFactor), expectedDb, 0.01);
    EXPECT_EQ(r.clipLamp, 0.0);
  }

  // The refresh is due after a second of audio; the idle hook pushes the
  // readings into the controls once and clears the flag.
  plug->OnGUIIdle();
  const Meters::Reading in = plug->GetMeters().InputReading();
  const double barDb = std::max(-60.0, 20.0 * std::log10(in.current * in.offsetFactor));
  EXPECT_NEAR(graphics->GetControl(plug->mInputMeterControls.bar)->GetValue(), (barDb + 60.0) / 72.0, 1e-9);
  EXPECT_NEAR(graphics->GetControl(plug->mOutputMeterControls.heldPeak)->GetValue(),
              1.0 - (expectedDb + 60.0) / 72.0, 1e-3);

  // One sample over full scale lights the output lamp at once.
  std::vector<float> over(64, 0.0f), overR(64, 0.0f), o1(64), o2(64);
  over[10] = 1.5f;
  Render(*plug, over, overR, o1, o2);
  EXPECT_EQ(plug->GetMeters().OutputReading().clipLamp, 1.0);
  EXPECT_EQ(plug->GetMeters().InputReading().clipLamp, 1.0);
}

TEST_F(BrimlowTest, AnalyzersFollowASineFromTheDisplayRefresh) {
  std::unique_ptr<Brimlow> plug(MakePlug());
  plug->Reset();
  const int n = 16384;
  std::vector<float> left(n), right(n), outL(n), outR(n);
  FillSine(left, right, 0.5, 1000.0, 44100.0);
  Render(*plug, left, right, outL, outR);
  // As the display does before it draws.
  EditorLayout::AnalyzerRefreshCallback(plug.get());

  for (const SpectrumAnalyzer* analyzer : {plug->PreAnalyzer(), plug->PostAnalyzer()}) {
    const int points = analyzer->PointCount();
    ASSERT_EQ(points, 134);
    EXPECT_DOUBLE_EQ(analyzer->PointFreqs()[0], 10.0);
    EXPECT_DOUBLE_EQ(analyzer->PointFreqs()[points - 1], 22050.0);
    int loudest = 0;
    for (int i = 1; i < points; ++i) {
      if (analyzer->AverageCurve()[i] > analyzer->AverageCurve()[loudest]) loudest = i;
    }
    EXPECT_NEAR(analyzer->PointFreqs()[loudest], 1000.0, 100.0);
    EXPECT_GT(analyzer->MaxCurve()[loudest], 0.0);
  }
}

TEST_F(BrimlowTest, DisplayRefreshesWhileAudioRunsAreSafe) {
  // The audio thread feeds and the GUI thread analyses under the plug
  // mutex, and maps the curves outside it; ASan and the curves' values
  // catch a curve written while another thread frees or resizes it.
  std::unique_ptr<Brimlow> plug(MakePlug());
  plug->Reset();
  std::thread audio([&plug] {
    const int n = 512;
    std::vector<float> left(n), right(n), outL(n), outR(n);
    for (int block = 0; block < 300; ++block) {
      FillSine(left, right, 0.5, 1000.0, 44100.0);
      Render(*plug, left, right, outL, outR);
      if (block == 150) {
        WDL_MutexLock lock(plug->GetMutex());
        plug->SetSampleRate(48000.0);
        plug->Reset();
      }
    }
  });
  for (int i = 0; i < 300; ++i) {
    EditorLayout::AnalyzerRefreshCallback(plug.get());
    plug->OnGUIIdle();
  }
  audio.join();
  EditorLayout::AnalyzerRefreshCallback(plug.get());
  const SpectrumAnalyzer* pre = plug->PreAnalyzer();
  for (int i = 0; i < pre->PointCount(); ++i) ASSERT_TRUE(std::isfinite(pre->AverageCurve()[i])) << i;
}

}  // namespace
