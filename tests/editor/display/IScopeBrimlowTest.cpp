// The graph's gestures end to end: a mouse event given to the graphics core
// reaches the display, the plug-in's dispatch and the band's parameters.

#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "editor/EditorLayout.h"
#include "editor/display/IScope.h"
#include "graphics/IControl.h"
#include "graphics/IGraphics.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/engine/BandTypes.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/editor/display/ScopeFakeGraphics.h"
#include "tests/plugin/controller/TempDataHome.h"

namespace {

constexpr int kBand = 3;
// The graph at 100 %: plot 100,89 - 781,423 over 10 Hz .. 30 kHz and, at
// the default zoom, -60 .. +36 dB.
constexpr int kL = 100, kB = 423, kW = 681, kH = 334;
const double kDecades = std::log10(30000.0) - 1.0;
int XOf(double hz) { return kL + static_cast<int>(kW * (std::log10(hz) - 1.0) / kDecades); }
int YOf(double db) { return kB - static_cast<int>(kH * (db + 60.0) / 96.0); }
// The Q parameter's normalised scale: 0.01 .. 100 on a fourth-power curve.
double QToNormalized(double q) { return std::pow((q - 0.01) / (100.0 - 0.01), 0.25); }

class ScopeGestures : public TempDataHomeTest {
 protected:
  void SetUp() override {
    TempDataHomeTest::SetUp();
    mPlug.reset(MakePlug());
    ASSERT_NE(mPlug, nullptr);
    SetBand(kBandActive, 1.0);
    SetBand(kBandType, kTypeAPeak);
    SetBand(kBandFreq, 1000.0);
    SetBand(kBandGain, 0.0);
    SetBand(kBandQ, 0.7);
  }
  void TearDown() override {
    mPlug.reset();
    TempDataHomeTest::TearDown();
  }

  // Through the editor, as a knob would set it.
  void SetBand(int field, double value) {
    const int idx = BandParamIndex(kBand, field);
    mPlug->SetParameterFromGUI(idx, mPlug->GetParam(idx)->ToNormalizedParam(value));
  }
  double Band(int field) const { return mPlug->GetParam(BandParamIndex(kBand, field))->Value(); }
  IScope* Scope() const { return mPlug->GetScope(); }
  IGraphics* Gui() const { return mPlug->GetGUI(); }
  IScope::Point Handle() const { return Scope()->mHandleCentre[kBand]; }

  // Rebuilds the editor on the fake platform, whose popups can answer, and
  // pushes every value to it as the plug-in's construction does.
  ScopeFakeGraphics* UseFakePlatform() {
    IGraphics* old = mPlug->GetGUI();
    auto* fake = new ScopeFakeGraphics(mPlug.get());
    mPlug->AttachGraphics(fake);
    EditorLayout::LayoutGUI(mPlug.get(), fake, EditorLayout::kBuild);
    delete old;
    mPlug->RedrawParamControls();
    for (int i = 0; i < mPlug->NParams(); ++i) mPlug->OnParamChange(i);
    return fake;
  }

  std::unique_ptr<Brimlow> mPlug;
};

TEST_F(ScopeGestures, DraggingAHandleMovesFrequencyAndGain) {
  // A second control bound to the frequency, as a readout beside the knob.
  const int freqIdx = BandParamIndex(kBand, kBandFreq);
  IControl* readout = new IControl(mPlug.get(), IRECT(), freqIdx);
  Gui()->AttachControl(readout);
  ASSERT_EQ(Handle().x, XOf(1000.0));
  ASSERT_EQ(Handle().y, YOf(0.0));

  IMouseMod left(true);
  Gui()->OnMouseDown(Handle().x, Handle().y, &left);
  const IScope::Point start = Handle();
  Gui()->OnMouseDrag(start.x + 50, start.y - 20, &left);
  Gui()->OnMouseUp(start.x + 50, start.y - 20, &left);

  const double expectHz = std::pow(10.0, 3.0 + 50.0 * kDecades / kW);
  const double expectDb = 20.0 * 96.0 / kH;
  EXPECT_NEAR(Band(kBandFreq), expectHz, 0.001);
  EXPECT_NEAR(Band(kBandGain), expectDb, 0.005);
  EXPECT_EQ(Handle().x, XOf(Band(kBandFreq)));
  EXPECT_EQ(Handle().y, YOf(Band(kBandGain)));
  const double normalized = mPlug->GetParam(freqIdx)->GetNormalized();
  EXPECT_DOUBLE_EQ(readout->GetValue(), normalized);
  EXPECT_DOUBLE_EQ(Gui()->GetControlOfParam(freqIdx)->GetValue(), normalized);
}

TEST_F(ScopeGestures, ShiftDragMovesATenthAndTheHandleStaysGrabbed) {
  IMouseMod shift(true, false, true);
  Gui()->OnMouseDown(Handle().x, Handle().y, &shift);
  const IScope::Point start = Handle();
  // Far past the handle: still the same band.
  Gui()->OnMouseDrag(start.x + 100, start.y, &shift);
  EXPECT_NEAR(Band(kBandFreq), std::pow(10.0, 3.0 + 0.1 * 100.0 * kDecades / kW), 0.001);
  EXPECT_NEAR(Band(kBandGain), 0.0, 1e-9);
}

TEST_F(ScopeGestures, AWheelNotchRaisesQByAHundredthOfItsRange) {
  IMouseMod none(false);
  Gui()->OnMouseWheel(Handle().x, Handle().y, &none, 1);
  const double n = QToNormalized(0.7) + 0.01;
  EXPECT_NEAR(Band(kBandQ), 0.01 + (100.0 - 0.01) * std::pow(n, 4.0), 0.001);
  Gui()->OnMouseWheel(Handle().x, Handle().y, &none, -2);
  EXPECT_NEAR(Band(kBandQ), 0.01 + (100.0 - 0.01) * std::pow(n - 0.02, 4.0), 0.001);
}

TEST_F(ScopeGestures, RightClickMenuSetsTheChosenType) {
  ScopeFakeGraphics* gui = UseFakePlatform();
  ASSERT_EQ(Handle().x, XOf(1000.0));
  gui->mPopupChoice = 9;     // "Type"
  gui->mSubmenuChoice = 14;  // "D - High Shelf": type 13, one item on for the separator
  IMouseMod right(false, true);
  gui->OnMouseDown(Handle().x, Handle().y, &right);
  gui->OnMouseUp(Handle().x, Handle().y, &right);
  EXPECT_EQ(gui->mPopups, 1);
  EXPECT_EQ(Band(kBandType), kTypeDHighShelf);
  EXPECT_EQ(mPlug->Mirrors().bandType[kBand], kTypeDHighShelf);

  // "Filter 4" switches the band off.
  gui->mPopupChoice = 0;
  gui->mSubmenuChoice = -1;
  gui->OnMouseDown(Handle().x, Handle().y, &right);
  EXPECT_EQ(Band(kBandActive), 0.0);
}

}  // namespace
