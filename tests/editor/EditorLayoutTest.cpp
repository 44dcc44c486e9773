#include "editor/EditorLayout.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "editor/IAnalyzerMenu.h"
#include "editor/display/IScope.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/IBackgroundControl.h"
#include "graphics/controls/IPanelControl.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/editor/ImageBundle.h"
#include "tests/plugin/controller/ScopedDataHome.h"

namespace {

// The rule every control follows at GUI scale s: left and top scaled,
// width and height scaled on their own, each truncated.
IRECT Scaled(int x, int y, int w, int h, double s) {
  const int l = static_cast<int>(x * s), t = static_cast<int>(y * s);
  return IRECT(l, t, l + static_cast<int>(w * s), t + static_cast<int>(h * s));
}

// The view layout's rule for what it places: far edges scaled themselves.
IRECT FarEdges(int l, int t, int r, int b, double s) {
  return IRECT(static_cast<int>(l * s), static_cast<int>(t * s), static_cast<int>(r * s), static_cast<int>(b * s));
}

void ExpectRect(const IRECT& actual, const IRECT& expected, const std::string& what) {
  EXPECT_EQ(actual.L, expected.L) << what;
  EXPECT_EQ(actual.T, expected.T) << what;
  EXPECT_EQ(actual.R, expected.R) << what;
  EXPECT_EQ(actual.B, expected.B) << what;
}

class EditorLayoutTest : public ::testing::Test {
 protected:
  explicit EditorLayoutTest(const std::set<std::string>& leftOut = {}) : mImages(leftOut) {}
  void SetUp() override {
    ASSERT_TRUE(mHome.Ok());
    ASSERT_TRUE(mImages.Ok());
    mPlug.reset(MakePlug());
    mGraphics = mPlug->GetGUI();
  }
  void TearDown() override { mPlug.reset(); }

  void Set(int paramIdx, double value) {
    mPlug->SetParameterFromGUI(paramIdx, mPlug->GetParam(paramIdx)->ToNormalizedParam(value));
  }
  // "GUI Scale" by its index, then the editor's first open fits it.
  void OpenAtScale(int scaleIndex) {
    Set(kParamGUIScale, scaleIndex);
    mPlug->ResizeGUIToScale();
  }
  IControl* Control(int idx) const { return mGraphics->GetControl(idx); }
  const IRECT& Rect(int idx) const { return Control(idx)->GetRECT(); }

  ScopedDataHome mHome;
  ImageBundle mImages;
  std::unique_ptr<Brimlow> mPlug;
  IGraphics* mGraphics = nullptr;
};

constexpr double kScales[] = {0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0};

TEST_F(EditorLayoutTest, AttachesEveryControlInItsOrder) {
  ASSERT_EQ(mGraphics->NControls(), 155);
  ASSERT_NE(dynamic_cast<IPanelControl*>(Control(0)), nullptr);
  ExpectRect(Rect(0), IRECT(0, 0, 872, 632), "panel");
  EXPECT_EQ(mPlug->mBackgroundIdx, 1);
  EXPECT_EQ(mPlug->mBackgroundLargeIdx, 2);
  EXPECT_NE(dynamic_cast<IBackgroundControl*>(Control(1)), nullptr);
  ExpectRect(Rect(1), IRECT(0, 0, 872, 632), "background");

  EXPECT_EQ(mPlug->ScopeControlIndex(), 11);
  ASSERT_EQ(Control(11), mPlug->GetScope());
  EXPECT_EQ(mPlug->GetScope()->GetTag(), 141);
  ExpectRect(Rect(11), IRECT(92, 84, 789, 428), "display");

  // The band table holds the strip's 108 controls, band by band.
  for (int b = 0; b < kNumBands; ++b) {
    for (int k = 0; k < Brimlow::kBandControlsPerBand; ++k) EXPECT_EQ(mPlug->mBandControlIdx[b][k], 12 + 9 * b + k);
    EXPECT_EQ(mPlug->mBandFrameControls[b], 12 + 9 * b);
    EXPECT_EQ(Control(12 + 9 * b)->ParamIdx(), -1);
    const int fields[] = {-1, kBandActive, kBandSolo, kBandType, kBandChMode, kBandSlope, kBandGain, kBandFreq, kBandQ};
    for (int k = 1; k < 9; ++k) EXPECT_EQ(Control(12 + 9 * b + k)->ParamIdx(), BandParamIndex(b, fields[k]));
  }
  const int curves[] = {132, 133, 134, 135, 136};
  const int zooms[] = {138, 140, 139, 141, 142};
  const int meters[] = {144, 145, 146, 147, 148, 149, 150, 151};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(mPlug->mCurveButtonIdx[i], curves[i]);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(mPlug->mZoomButtonIdx[i], zooms[i]);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(mPlug->mMeterControlIdx[i], meters[i]);
  EXPECT_EQ(mPlug->mInputMeterControls.bar, 144);
  EXPECT_EQ(mPlug->mOutputMeterControls.clipLamp, 151);
  EXPECT_EQ(Control(137), mPlug->GetAnalyzerMenu());

  const struct {
    int idx, param;
    const char* tooltip;
  } bound[] = {{5, -1, "Info"},
               {6, kParamOSMode, "Oversampling"},
               {7, kParamFilterMode, "Filter Mode: IIR Zero Delay/IIR natural phase/FIR zero phase"},
               {8, kParamAnalyzerMode, "Analyzer mode"},
               {9, kParamPhase, "Phase Polarity"},
               {10, kParamOutputGain, "Output Volume"},
               {13, BandParamIndex(0, kBandActive), "Filter off/static"},
               {120, kParamFScale, "Spectrum/EQ frequency range scale (0-100%)"},
               {124, kParamSpectrumSlope, "Spectrum-display slope (-/+9dB)"},
               {125, kParamLinkEQ, "Links EQ and spectrum magnitude range"},
               {127, kParamRefAGV, "Reference magnitude range offset"},
               {128, kParamHold, "Spectrum analyzer freeze"},
               {129, kParamAB, "Bypass filter"},
               {130, kParamAnalyzerSpeed, "Spectrum analyzer update speed (0-9999,AVG)"},
               {132, kParamShowCurveAll, "Stereo spectrum response curve"},
               {136, kParamShowCurveSide, "Side spectrum response curve"},
               {143, kParamLargeScope, "Toggle compact/large spectrum view"},
               {146, -1, "Max value, click to reset"},
               {152, kParamMainMeterMode, "Meter modes: Peak/RMS/EBU/VU"},
               {153, kParamMainMeterChannelMode, "Meter Channels: IN/OUT, IN L/R, OUT L/R, IN M/S, OUT M/S"},
               {154, kParamDAVILiteMode, "DA-VI Lite perceptual loudness matching: off/fast/slow"}};
  for (const auto& c : bound) {
    // The help menu keeps its tooltip parameter to itself.
    if (c.idx != 5) {
      EXPECT_EQ(Control(c.idx)->ParamIdx(), c.param) << c.idx;
    }
    EXPECT_STREQ(Control(c.idx)->GetTooltip(), c.tooltip) << c.idx;
  }
  EXPECT_TRUE(mGraphics->mShowTooltips);
}

TEST_F(EditorLayoutTest, ControlsTakeTheirSizeFromTheirImages) {
  int frameW = 0, frameH = 0;
  ImageBundle::FrameSize("bandframe.png", 2, &frameW, &frameH);
  ASSERT_GT(frameW, 0);
  for (int b = 0; b < kNumBands; ++b) {
    ExpectRect(Rect(mPlug->mBandFrameControls[b]), Scaled(64 * b + 61, 452, frameW, frameH, 1.0),
               "frame " + std::to_string(b));
  }
  EXPECT_EQ(Rect(mPlug->mBandFrameControls[0]).L, 61);
  EXPECT_EQ(Rect(mPlug->mBandFrameControls[0]).T, 452);
  EXPECT_EQ(Rect(mPlug->mBandFrameControls[11]).L, 765);

  const struct {
    int idx, x, y;
    const char* file;
    int frames;
  } sized[] = {{6, 125, 50, "selector_os.png", 3},     {7, 270, 50, "selector_filtermode.png", 7},
               {8, 510, 44, "filter_source.png", 5},   {15, 62, 476, "filter_selector.png", 16},
               {120, 16, 131, "scale.png", 101},       {121, 16, 179, "offset.png", 101},
               {137, 772, 87, "setup_button.png", 2},  {144, 800, 145, "meter1_in_a.png", 1},
               {147, 800, 163, "peak_LED.png", 11},    {153, 805, 121, "mastermetechannelrmode.png", 6},
               {154, 799, 433, "ab_lm.png", 3}};
  for (const auto& c : sized) {
    int w = 0, h = 0;
    ImageBundle::FrameSize(c.file, c.frames, &w, &h);
    ExpectRect(Rect(c.idx), Scaled(c.x, c.y, w, h, 1.0), c.file);
  }
}

TEST_F(EditorLayoutTest, EveryGUIScaleSizesTheEditorAndItsControls) {
  const int sizes[7][2] = {{436, 316}, {654, 474}, {872, 632}, {1090, 790}, {1308, 948}, {1526, 1106}, {1744, 1264}};
  int frameW = 0, frameH = 0;
  ImageBundle::FrameSize("bandframe.png", 2, &frameW, &frameH);
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    TearDown();
    SetUp();
    OpenAtScale(i);
    const double s = kScales[i];
    EXPECT_EQ(mGraphics->Width(), sizes[i][0]);
    EXPECT_EQ(mGraphics->Height(), sizes[i][1]);
    EXPECT_EQ(mGraphics->NControls(), 155);
    ExpectRect(Rect(mPlug->ScopeControlIndex()), FarEdges(92, 84, 789, 428, s), "display");
    ExpectRect(Rect(mPlug->mBandFrameControls[0]), Scaled(61, 452, frameW, frameH, s), "band 0 frame");
    ExpectRect(Rect(mPlug->mBandControlIdx[0][7]), Scaled(63, 553, 60, 22, s), "band 0 frequency");
    ExpectRect(Rect(mPlug->mBandControlIdx[11][6]), Scaled(64 * 11 + 63, 577, 60, 22, s), "band 11 gain");
    ExpectRect(Rect(146), Scaled(800, 363, 30, 12, s), "input maximum");
    // The panel keeps its 100 % rectangle, under the backgrounds.
    ExpectRect(Rect(0), IRECT(0, 0, 872, 632), "panel");
    ExpectRect(Rect(1), IRECT(0, 0, sizes[i][0], sizes[i][1]), "background");
  }
}

TEST_F(EditorLayoutTest, ScaledRectanglesTruncateEachNumber) {
  OpenAtScale(4);  // 150 %
  ExpectRect(Rect(11), IRECT(138, 126, 1183, 642), "display at 150 %");
  TearDown();
  SetUp();
  OpenAtScale(1);  // 75 %
  const IRECT& readout = Rect(mPlug->mBandControlIdx[0][7]);
  EXPECT_EQ(readout.L, 47);
  EXPECT_EQ(readout.T, 414);
  EXPECT_EQ(readout.W(), 45);
  EXPECT_EQ(readout.H(), 16);
}

TEST_F(EditorLayoutTest, TheLargeViewHidesTheStripAndGrowsTheDisplay) {
  int curveW = 0, curveH = 0, zoomW = 0, zoomH = 0;
  ImageBundle::FrameSize("showcurveall.png", 2, &curveW, &curveH);
  ImageBundle::FrameSize("zoomminus.png", 2, &zoomW, &zoomH);
  std::vector<IRECT> before;
  for (int i = 0; i < mGraphics->NControls(); ++i) before.push_back(Rect(i));

  Set(kParamLargeScope, 1);
  ExpectRect(Rect(11), IRECT(92, 84, 789, 604), "display");
  ExpectRect(Rect(mPlug->mCurveButtonIdx[0]), IRECT(709, 612, 709 + curveW, 612 + curveH), "all curves");
  ExpectRect(Control(mPlug->mCurveButtonIdx[4])->GetTargetRECT(), IRECT(773, 612, 773 + curveW, 612 + curveH),
             "side curve target");
  ExpectRect(Rect(mPlug->mZoomButtonIdx[4]), IRECT(772, 590, 772 + zoomW, 590 + zoomH), "view reset");
  EXPECT_TRUE(Control(1)->IsHidden());
  EXPECT_FALSE(Control(2)->IsHidden());
  for (int b = 0; b < kNumBands; ++b) {
    for (int k = 0; k < Brimlow::kBandControlsPerBand; ++k) EXPECT_TRUE(Control(mPlug->mBandControlIdx[b][k])->IsHidden());
  }
  // Where the strip was, the display lies now (hidden controls take no clicks).
  const IRECT& type = before[mPlug->mBandControlIdx[3][3]];
  EXPECT_TRUE(Rect(11).Contains(type.L + 5, type.T + 5));
  IMouseMod none;
  mGraphics->OnMouseOver(type.L + 5, type.T + 5, &none);
  EXPECT_EQ(mPlug->GetScope()->mEvent.mMouseY, type.T + 5);

  Set(kParamLargeScope, 0);
  EXPECT_FALSE(Control(1)->IsHidden());
  EXPECT_TRUE(Control(2)->IsHidden());
  for (int i = 0; i < mGraphics->NControls(); ++i) {
    if (i == 2) continue;  // hidden from the start
    ExpectRect(Rect(i), before[i], "control " + std::to_string(i));
    EXPECT_EQ(Control(i)->IsHidden(), false) << i;
  }
  EXPECT_FALSE(Rect(11).Contains(type.L + 5, type.T + 5));
}

TEST_F(EditorLayoutTest, TheViewLayoutScalesFarEdgesWhereTheRefitScalesSizes) {
  int curveW = 0, curveH = 0;
  ImageBundle::FrameSize("showcurveall.png", 2, &curveW, &curveH);
  OpenAtScale(3);  // 125 %
  const int button = mPlug->mCurveButtonIdx[0];
  ExpectRect(Rect(button), FarEdges(709, 435, 709 + curveW, 435 + curveH, 1.25), "after the rebuild");
  // A re-fit on its own puts the button back by the size rule.
  EditorLayout::LayoutGUI(mPlug.get(), mGraphics, EditorLayout::kRescale);
  ExpectRect(Rect(button), Scaled(709, 435, curveW, curveH, 1.25), "after the re-fit alone");
  EditorLayout::UpdateViewLayout(mPlug.get());
  ExpectRect(Rect(button), FarEdges(709, 435, 709 + curveW, 435 + curveH, 1.25), "after the view layout");
}

TEST_F(EditorLayoutTest, LinkAndMeterModeGreyTheirControls) {
  const auto greyed = [this](int idx) { return Control(idx)->IsGrayed(); };
  // "Link EQ" starts on.
  ASSERT_EQ(mPlug->Mirrors().linkEQ, 1);
  EXPECT_TRUE(greyed(126));
  Set(kParamLinkEQ, 0);
  EXPECT_FALSE(greyed(126));

  Set(kParamMainMeterChannelMode, 5);  // "Off"
  for (int k : {0, 1, 2, 4, 5, 6}) EXPECT_TRUE(greyed(mPlug->mMeterControlIdx[k])) << k;
  EXPECT_FALSE(greyed(mPlug->mMeterControlIdx[3]));
  EXPECT_FALSE(greyed(mPlug->mMeterControlIdx[7]));
  EXPECT_TRUE(greyed(152));   // the meter mode selector
  EXPECT_FALSE(greyed(153));  // the channel selector stays usable to turn them back on
  Set(kParamMainMeterChannelMode, 1);
  for (int k = 0; k < 8; ++k) EXPECT_FALSE(greyed(mPlug->mMeterControlIdx[k])) << k;
  EXPECT_FALSE(greyed(152));

  // The build greys what each band's type does not use: "A - Peak" has no slope.
  ASSERT_EQ(mPlug->Mirrors().bandType[0], 0);
  EXPECT_TRUE(greyed(mPlug->mBandControlIdx[0][5]));
  EXPECT_FALSE(greyed(mPlug->mBandControlIdx[0][6]));
}

TEST_F(EditorLayoutTest, OnlyBuildAndRefitDoAnything) {
  std::vector<IRECT> before;
  for (int i = 0; i < mGraphics->NControls(); ++i) before.push_back(Rect(i));
  const int modes[] = {EditorLayout::kRescale, 2, -1};
  for (int mode : modes) {
    EditorLayout::LayoutGUI(mPlug.get(), mGraphics, mode);
    EditorLayout::UpdateViewLayout(mPlug.get());
    ASSERT_EQ(mGraphics->NControls(), 155) << mode;
    for (int i = 0; i < mGraphics->NControls(); ++i) ExpectRect(Rect(i), before[i], std::to_string(i));
  }
}

class EditorLayoutWithoutAnImage : public EditorLayoutTest {
 protected:
  EditorLayoutWithoutAnImage() : EditorLayoutTest({"bandframe.png"}) {}
};

TEST_F(EditorLayoutWithoutAnImage, LeavesItsControlsEmptyAndTheEditorWorking) {
  ASSERT_EQ(mGraphics->NControls(), 155);
  for (int b = 0; b < kNumBands; ++b) {
    const IRECT& frame = Rect(mPlug->mBandFrameControls[b]);
    EXPECT_EQ(frame.L, 64 * b + 61);
    EXPECT_EQ(frame.W(), 0);
    EXPECT_EQ(frame.H(), 0);
  }
  // The images that are there still size their controls.
  EXPECT_GT(Rect(mPlug->mBandControlIdx[0][3]).W(), 0);
  OpenAtScale(4);
  EXPECT_EQ(mGraphics->Width(), 1308);
  EXPECT_EQ(Rect(mPlug->mBandFrameControls[0]).W(), 0);
  // Every control draws; the empty frames draw nothing (no window shows
  // the result, which the window tests look at).
  IRECT all(0, 0, mGraphics->Width(), mGraphics->Height());
  mGraphics->Draw(&all);
}

}  // namespace
