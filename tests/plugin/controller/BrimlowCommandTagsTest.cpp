#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <cmath>

#include "plugin/controller/CaptureFile.h"
#include "plugin/controller/ReferenceCapture.h"
#include "tests/plugin/controller/AudioFileBytes.h"
#include "tests/plugin/controller/BrimlowEditingFixture.h"
#include "tests/plugin/controller/ReferencePoints.h"

namespace {

class CommandTags : public BrimlowEditingTest {
 protected:
  // The file commands read the hidden file selector's paths while no
  // analyser menu is set; the menu's own dialogs are the editor's tests'.
  void SetUp() override {
    BrimlowEditingTest::SetUp();
    mPlug->SetAnalyzerMenu(nullptr);
  }

  // A tagged control clicked (or refreshed, with the button up).
  void Tag(int tag, bool buttonDown) {
    mGui->mMouseDown = buttonDown;
    mPlug->OnParamChange(tag);
  }

  // What the tag shows in message boxes (the stand-in alert prints there).
  std::string TagStderr(int tag) {
    ::testing::internal::CaptureStderr();
    Tag(tag, true);
    return ::testing::internal::GetCapturedStderr();
  }

  std::string File(const char* name) const { return mDataHome + "/" + name; }

  // Zoomed in on every axis, offset and tilted: nothing at its default.
  void MoveEveryView() {
    mPlug->ResetFrequencyView();
    mPlug->ResetGainView();
    mPlug->ResetEQScale();
    mPlug->ZoomFrequencyBySteps(-6);
    mScope->mEvent.mDragDX = -20.0;
    mPlug->PanFrequencyView();
    for (int i = 0; i < 4; ++i) Tag(158, true);  // EQ Scale and GScale to 80
    mScope->mEvent.mDragDY = -8.75;  // 7 dB at GScale 80
    mPlug->PanGainView();
    Access::SetSpectrumSlope(*mPlug, 4.5);
  }
};

TEST_F(CommandTags, ViewTagsActOnlyWhileTheMouseButtonIsDown) {
  const struct {
    int tag;
    int param;
    double expectDown;  // after one click from the defaults
  } cases[] = {{157, kParamEQScale, 100.0}, {158, kParamEQScale, 95.0}, {158, kParamGScale, 95.0},
               {159, kParamFScale, 100.0},  {160, kParamFScale, 95.0}};
  for (const auto& c : cases) {
    mPlug->ResetFrequencyView();
    mPlug->ResetGainView();
    mPlug->ResetEQScale();
    Tag(c.tag, false);
    EXPECT_NEAR(Param(c.param), 100.0, 1e-9) << c.tag;
    Tag(c.tag, true);
    EXPECT_NEAR(Param(c.param), c.expectDown, 1e-9) << c.tag;
  }

  MoveEveryView();
  for (const int tag : {147, 161}) {
    Tag(tag, false);
    EXPECT_NEAR(M().fScalePercent, 70.0, 1e-9) << tag;
    EXPECT_NEAR(M().eqScalePercent, 80.0, 1e-9) << tag;
  }
}

TEST_F(CommandTags, LinkedEQZoomMovesBothScalesAndStopsAtTheTop) {
  for (int i = 0; i < 3; ++i) Tag(158, true);
  EXPECT_NEAR(M().eqScalePercent, 85.0, 1e-9);
  EXPECT_NEAR(M().gScalePercent, 85.0, 1e-9);
  EXPECT_NEAR(mScope->mSpecZoom, 0.85, 1e-9);
  Tag(157, true);
  EXPECT_NEAR(M().eqScalePercent, 90.0, 1e-9);
  EXPECT_NEAR(M().gScalePercent, 90.0, 1e-9);
  EXPECT_NEAR(mScope->mEqZoom, 0.9, 1e-9);
  for (int i = 0; i < 4; ++i) Tag(157, true);
  EXPECT_NEAR(M().eqScalePercent, 100.0, 1e-9);
  EXPECT_NEAR(M().gScalePercent, 100.0, 1e-9);
  EXPECT_NEAR(Param(kParamEQScale), 100.0, 1e-9);
  EXPECT_NEAR(Param(kParamGScale), 100.0, 1e-9);

  Access::SetLinkEQ(*mPlug, false);
  Tag(158, true);
  EXPECT_NEAR(M().eqScalePercent, 95.0, 1e-9);
  EXPECT_NEAR(M().gScalePercent, 100.0, 1e-9);
}

TEST_F(CommandTags, AnalyzerViewResetRestoresEveryViewAndViewResetKeepsOffsetAndTilt) {
  MoveEveryView();
  ASSERT_NEAR(M().dbOffsetDb, 7.0, 1e-9);
  Tag(161, true);
  EXPECT_NEAR(M().fScalePercent, 100.0, 1e-9);
  EXPECT_NEAR(M().fOffsetPercent, 30.0, 1e-9);
  EXPECT_NEAR(M().gScalePercent, 100.0, 1e-9);
  EXPECT_NEAR(M().eqScalePercent, 100.0, 1e-9);
  EXPECT_DOUBLE_EQ(M().dbOffsetDb, 7.0);
  EXPECT_NEAR(M().spectrumSlope, 4.5, 1e-9);

  MoveEveryView();
  Tag(147, true);
  EXPECT_NEAR(M().fScalePercent, 100.0, 1e-9);
  EXPECT_NEAR(M().gScalePercent, 100.0, 1e-9);
  EXPECT_NEAR(M().eqScalePercent, 100.0, 1e-9);
  EXPECT_DOUBLE_EQ(M().dbOffsetDb, 0.0);
  EXPECT_NEAR(Param(kParamDBOffset), 0.0, 1e-9);
  EXPECT_NEAR(M().spectrumSlope, 0.0, 1e-9);
  EXPECT_NEAR(Param(kParamSpectrumSlope), 0.0, 1e-9);
  EXPECT_NEAR(mScope->mSlope, 0.0, 1e-9);
  EXPECT_NEAR(mScope->mSpecDbOffset, 0.0, 1e-9);
  EXPECT_NEAR(mScope->mFreqZoom, 1.0, 1e-9);
  EXPECT_NEAR(mScope->mFreqOffset, 0.3, 1e-9);
}

TEST_F(CommandTags, AnalyzerResetArmsTheOneShotCountdown) {
  mGui->mMouseDown = false;
  const Access::Request r = Access::CommandTag(*mPlug, 148);
  const MeterRefreshTiming& timing = mPlug->GetMeterTiming();
  EXPECT_GT(timing.OneShotSamples(), 0);
  EXPECT_EQ(timing.OneShotCountdown(), timing.OneShotSamples());
  EXPECT_FALSE(timing.OneShotDone());
  EXPECT_FALSE(r.audioRedesign || r.displayRedesign);
}

TEST_F(CommandTags, LoadPicksTheReferenceKindByItsExactExtension) {
  const struct {
    const char* path;
    bool buttonDown;
    int expectState;
  } cases[] = {{"/music/take.AIFF", true, 0}, {"/music/take.WAV", true, 0}, {"/music/take.aif", true, 0},
               {"/music/a.b/c", true, 0},     {"", true, 0},                {"/music/take.wav", false, 0},
               {"/music/take.aiff", true, 7}, {"/music/take.wav", true, 7}};
  for (const auto& c : cases) {
    // A fresh plug-in each time: a request stays until the editor's ticks run it.
    mPlug.reset(MakePlug());
    mGui = mPlug->GetGUI();
    mPlug->SetAnalyzerMenu(nullptr);
    mPlug->mFileSelectorOpenPath.Set(c.path);
    Tag(146, c.buttonDown);
    EXPECT_EQ(mPlug->ReferenceLoad().GetState(), c.expectState) << c.path;
    EXPECT_STREQ(mPlug->ReferenceLoad().GetPendingPath(), c.expectState ? c.path : "") << c.path;
  }
}

TEST_F(CommandTags, LoadReadsACaptureFileOntoTheGridAndReportsAFailure) {
  const std::vector<double> f = referencetest::CapturePointFrequencies();
  ASSERT_EQ(static_cast<int>(f.size()), ReferenceCapture::GetCount());
  std::vector<double> m(f.size());
  for (size_t i = 0; i < m.size(); ++i) m[i] = 0.5 + 0.001 * static_cast<double>(i);
  const std::string good = File("good.ref");
  ASSERT_TRUE(WriteCaptureFile(good.c_str(), f.data(), m.data(), static_cast<int>(f.size())));

  mPlug->mFileSelectorOpenPath.Set(good.c_str());
  EXPECT_EQ(TagStderr(146).find("Error Load"), std::string::npos);
  for (size_t i = 0; i < f.size(); ++i) {
    EXPECT_DOUBLE_EQ(mPlug->Reference().GetFrequencies()[i], f[i]);
    EXPECT_DOUBLE_EQ(mPlug->Reference().GetMagnitudes()[i], m[i]);
  }
  // Every grid value lies between the smallest and largest magnitude.
  ASSERT_GT(mPlug->ReferenceGridCount(), 0);
  for (int i = 0; i < mPlug->ReferenceGridCount(); ++i) {
    EXPECT_GE(mPlug->ReferenceGrid()[i], m.front() - 1e-12);
    EXPECT_LE(mPlug->ReferenceGrid()[i], m.back() + 1e-12);
  }

  // A file that is not a capture: the box names it, the reference stays.
  const std::string bad = File("bad.ref");
  std::FILE* file = std::fopen(bad.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("not a capture", file);
  std::fclose(file);
  for (const std::string& path : {bad, File("missing.ref")}) {
    mPlug->mFileSelectorOpenPath.Set(path.c_str());
    const std::string shown = TagStderr(146);
    EXPECT_NE(shown.find("Error Load"), std::string::npos) << path;
    EXPECT_NE(shown.find(path), std::string::npos) << path;
    EXPECT_DOUBLE_EQ(mPlug->Reference().GetMagnitudes()[10], m[10]);
  }
}

TEST_F(CommandTags, SaveWritesTheAnalyzerCaptureAndReportsAFailure) {
  const std::string path = File("saved.ref");
  mPlug->mFileSelectorSavePath.Set(path.c_str());
  Tag(145, false);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(TagStderr(145).find("Error Save"), std::string::npos);
  ASSERT_TRUE(std::filesystem::exists(path));
  const auto points = static_cast<std::uintmax_t>(mPlug->PreAnalyzer()->PointCount());
  EXPECT_EQ(std::filesystem::file_size(path), 12u + 16u * points);

  const std::string unwritable = File("no-such-folder/saved.ref");
  mPlug->mFileSelectorSavePath.Set(unwritable.c_str());
  const std::string shown = TagStderr(145);
  EXPECT_NE(shown.find("Error Save"), std::string::npos);
  EXPECT_NE(shown.find(unwritable), std::string::npos);

  mPlug->mFileSelectorSavePath.Set("");
  EXPECT_EQ(TagStderr(145).find("Error"), std::string::npos);
}

TEST_F(CommandTags, ReadoutTagsLeaveEverythingAsItIs) {
  MoveEveryView();
  for (const int tag : {138, 139, 140, 142, 149, 150, 153, 154, 162, 500}) {
    const Access::Request r = Access::CommandTag(*mPlug, tag);
    EXPECT_FALSE(r.audioRedesign || r.displayRedesign) << tag;
    Tag(tag, true);
  }
  EXPECT_NEAR(M().fScalePercent, 70.0, 1e-9);
  EXPECT_NEAR(M().eqScalePercent, 80.0, 1e-9);
  EXPECT_DOUBLE_EQ(M().dbOffsetDb, 7.0);
}

TEST_F(CommandTags, DefaultPresetTagSavesWhereTheNextInstanceReadsIt) {
  const std::string saved = std::string(mPlug->HostFormatPath().Get()) + "default.tps";
  std::remove(saved.c_str());
  Tag(143, false);
  EXPECT_TRUE(std::filesystem::exists(saved));
}

TEST_F(CommandTags, AudioFileReferenceLoadsOnTheEditorTimerAndReportsItsStatus) {
  // A second of 1 kHz at 44.1 kHz, 16-bit stereo.
  audiofiletest::WavFields s;
  for (int i = 0; i < 44100; ++i) {
    const int v = static_cast<int>(std::lround(16000.0 * std::sin(2.0 * 3.141592653589793 * 1000.0 * i / 44100.0)));
    for (int c = 0; c < 2; ++c) audiofiletest::AppendInt(s.data, v, 2, false);
  }
  ScratchFolder folder;
  const std::string path = folder.Write("take.wav", audiofiletest::MakeWav(s));
  mPlug->mFileSelectorOpenPath.Set(path.c_str());
  Tag(146, true);
  ASSERT_EQ(mPlug->ReferenceLoad().GetState(), 7);

  ::testing::internal::CaptureStderr();
  for (int tick = 0; tick < 3; ++tick) mPlug->OnGUIIdle();
  const std::string shown = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(mPlug->ReferenceLoad().GetState(), 0);
  EXPECT_NE(shown.find("Success!"), std::string::npos);
  EXPECT_NE(shown.find(path), std::string::npos);

  // The loudest reference point is the one nearest the tone, and the grid
  // carries it.
  const ReferenceCapture& ref = mPlug->Reference();
  int loudest = 0;
  for (int i = 1; i < ReferenceCapture::GetCount(); ++i)
    if (ref.GetMagnitudes()[i] > ref.GetMagnitudes()[loudest]) loudest = i;
  EXPECT_NEAR(ref.GetFrequencies()[loudest], 1000.0, 100.0);
  double gridPeak = 0.0;
  for (int i = 0; i < mPlug->ReferenceGridCount(); ++i) gridPeak = std::fmax(gridPeak, mPlug->ReferenceGrid()[i]);
  EXPECT_GT(gridPeak, 0.0);
}

}  // namespace
