#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "editor/EditorLayout.h"
#include "editor/IAnalyzerMenu.h"
#include "lice/lice.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/ScratchFolder.h"
#include "tests/editor/EditorGraphics.h"
#include "tests/plugin/controller/AudioFileBytes.h"
#include "tests/plugin/controller/ScopedDataHome.h"

namespace {

IRECT FarEdges(int l, int t, int r, int b, double s) {
  return IRECT(static_cast<int>(l * s), static_cast<int>(t * s), static_cast<int>(r * s), static_cast<int>(b * s));
}

IRECT Scaled(int x, int y, int w, int h, double s) {
  const int l = static_cast<int>(x * s), t = static_cast<int>(y * s);
  return IRECT(l, t, l + static_cast<int>(w * s), t + static_cast<int>(h * s));
}

bool Same(const IRECT& a, const IRECT& b) { return a.L == b.L && a.T == b.T && a.R == b.R && a.B == b.B; }

// The plug-in with the scripted graphics object in place of its own and
// the editor built on it, its images read from the source tree: the
// menus' and dialogs' answers come from the test.
class EditorHooks : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mHome.Ok());
    mPlug.reset(MakePlug());
    IGraphics* own = mPlug->GetGUI();
    own->StopIdleThread();
    own->ResetControls();
    mGraphics = new EditorGraphics(mPlug.get(), Brimlow::kEditorWidth, Brimlow::kEditorHeight);
    mGraphics->mLoadResource = [](int, const char* fileName) {
      const std::string name = std::string(fileName).substr(std::string(fileName).rfind('/') + 1);
      return LICE_LoadPNG((std::string(BRIMLOW_IMAGE_DIR) + "/" + name).c_str(), nullptr);
    };
    mPlug->AttachGraphics(mGraphics);
    delete own;
    mPlug->RebuildGUI(EditorLayout::kBuild);
  }
  void TearDown() override { mPlug.reset(); }

  void Set(int paramIdx, double value) {
    mPlug->SetParameterFromGUI(paramIdx, mPlug->GetParam(paramIdx)->ToNormalizedParam(value));
  }
  void Click(int x, int y) {
    IMouseMod mod(true);
    mGraphics->OnMouseDown(x, y, &mod);
    mGraphics->OnMouseUp(x, y, &mod);
  }
  // The editor is fitted to the scale the given control index shows.
  void ExpectFittedTo(double s) {
    EXPECT_EQ(mGraphics->Width(), static_cast<int>(872 * s));
    EXPECT_EQ(mGraphics->Height(), static_cast<int>(632 * s));
    EXPECT_TRUE(Same(mGraphics->GetControl(mPlug->ScopeControlIndex())->GetRECT(), FarEdges(92, 84, 789, 428, s)));
    EXPECT_TRUE(Same(mGraphics->GetControl(mPlug->mBandControlIdx[5][8])->GetRECT(), Scaled(64 * 5 + 63, 601, 60, 22, s)));
    EXPECT_DOUBLE_EQ(mGraphics->GetGUIScaleX(), s);
  }

  ScopedDataHome mHome;
  std::unique_ptr<Brimlow> mPlug;
  EditorGraphics* mGraphics = nullptr;  // owned by the plug-in
};

TEST_F(EditorHooks, AScaleChosenBeforeTheFirstOpenWaitsForIt) {
  Set(kParamGUIScale, 3);  // "125%"
  EXPECT_TRUE(mPlug->IsResizeRequested());
  mPlug->OnGUIIdle();
  EXPECT_EQ(mGraphics->Width(), 872);
  EXPECT_TRUE(mPlug->IsResizeRequested());

  mPlug->ResizeGUIToScale();
  EXPECT_EQ(mGraphics->Width(), 1090);
  EXPECT_EQ(mGraphics->Height(), 790);
  ExpectFittedTo(1.25);
  EXPECT_FALSE(mPlug->IsResizeRequested());
  EXPECT_TRUE(mPlug->mGUIOpened);

  // Reopening the window fits nothing again.
  mGraphics->Resize(872, 632, true);
  mPlug->ResizeGUIToScale();
  EXPECT_EQ(mGraphics->Width(), 872);
}

TEST_F(EditorHooks, AScaleChosenWhileOpenResizesOnTheNextTick) {
  mPlug->ResizeGUIToScale();
  ExpectFittedTo(1.0);
  Set(kParamGUIScale, 5);  // "175%"
  EXPECT_EQ(mGraphics->Width(), 872);
  mPlug->OnGUIIdle();
  EXPECT_EQ(mGraphics->Width(), 1526);
  EXPECT_EQ(mGraphics->Height(), 1106);
  ExpectFittedTo(1.75);
  EXPECT_EQ(mGraphics->NControls(), 155);
  EXPECT_FALSE(mPlug->IsResizeRequested());
}

TEST_F(EditorHooks, TheHelpMenusScaleResizesAndRebuildsTheEditor) {
  mPlug->ResizeGUIToScale();
  mGraphics->Choose({8, 1});  // "GUI Scale" > "75%"
  Click(800, 50);
  EXPECT_DOUBLE_EQ(mPlug->GuiScaleX(), 0.75);
  mPlug->OnGUIIdle();
  ExpectFittedTo(0.75);
  EXPECT_EQ(mGraphics->Width(), 654);
  EXPECT_EQ(mGraphics->Height(), 474);
}

TEST_F(EditorHooks, AReferenceChosenInTheAnalyzerMenuLoadsOnTheSecondTick) {
  audiofiletest::WavFields wav;
  for (int i = 0; i < 44100; ++i) {
    const int v = static_cast<int>(std::lround(12000.0 * std::sin(2.0 * 3.141592653589793 * 440.0 * i / 44100.0)));
    for (int c = 0; c < 2; ++c) audiofiletest::AppendInt(wav.data, v, 2, false);
  }
  ScratchFolder folder;
  const std::string path = folder.Write("mix.wav", audiofiletest::MakeWav(wav));
  ASSERT_FALSE(path.empty());

  mGraphics->Choose({11});  // "Load Reference File (ref/wav/aiff)"
  mGraphics->AnswerFile(path, folder.Path() + "/");
  const IRECT& menu = mGraphics->GetControl(137)->GetRECT();
  Click(menu.L + 2, menu.T + 2);
  ASSERT_EQ(mGraphics->mOffers.size(), 1u);
  EXPECT_EQ(mGraphics->mOffers[0].extensions, "ref wav aiff");
  EXPECT_EQ(mGraphics->mOffers[0].folder, mPlug->DataPath().Get());
  EXPECT_EQ(mPlug->ReferenceLoad().GetState(), 7);

  mPlug->OnGUIIdle();
  EXPECT_TRUE(mGraphics->mMessageBoxes.empty());
  EXPECT_EQ(mPlug->ReferenceLoad().GetState(), 7);
  mPlug->OnGUIIdle();
  ASSERT_EQ(mGraphics->mMessageBoxes.size(), 1u);
  EXPECT_EQ(mGraphics->mMessageBoxes[0].text, path);
  EXPECT_EQ(mGraphics->mMessageBoxes[0].caption, "Success!");
  EXPECT_EQ(mGraphics->mMessageBoxes[0].type, 0);
  EXPECT_EQ(mPlug->ReferenceLoad().GetState(), 0);
  EXPECT_GT(mPlug->ReferenceGridCount(), 0);
  mPlug->OnGUIIdle();
  EXPECT_EQ(mGraphics->mMessageBoxes.size(), 1u);
}

TEST_F(EditorHooks, TheDisplayCallbacksReachThePlugIn) {
  // A +6 dB peak on band 0 at 1 kHz: the evaluator gives its level there.
  Set(BandParamIndex(0, kBandActive), 1);
  Set(BandParamIndex(0, kBandType), 0);
  Set(BandParamIndex(0, kBandFreq), 1000.0);
  Set(BandParamIndex(0, kBandGain), 6.0);
  EXPECT_NEAR(EditorLayout::EQCurveCallback(mPlug.get(), 1000.0, 0, 0), 6.0, 0.05);
  EXPECT_NEAR(EditorLayout::EQCurveCallback(mPlug.get(), 1000.0, 0, -1), 6.0, 0.05);
  EXPECT_NEAR(EditorLayout::EQCurveCallback(mPlug.get(), 20.0, 0, -1), 0.0, 0.05);
}

}  // namespace
