#include "plugin/controller/Brimlow.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "editor/display/IScope.h"
#include "graphics/IGraphics.h"
#include "plugin/engine/BandTypes.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/plugin/controller/PlugTestSupport.h"

namespace {

using plugtest::ControlOf;
using plugtest::SetFromHost;
using plugtest::SetViaControl;
using Curves = std::array<int, 5>;  // All, Left, Right, Mid, Side

class CurveSelectionTest : public ::testing::Test {
 protected:
  ScopedDataHome mHome;
  std::unique_ptr<Brimlow> mPlug{MakePlug()};
  Brimlow& Plug() { return *mPlug; }

  void Mouse(bool down, bool shift = false) { Plug().GetGUI()->mLastMouseMod = IMouseMod(down, false, shift); }

  // Mirrors, parameters, their controls and the graph all agree on `want`.
  void ExpectCurves(const Curves& want) {
    for (int c = 0; c < 5; ++c) {
      EXPECT_EQ(Plug().Mirrors().showCurve[c], want[c]) << "curve " << c;
      EXPECT_EQ(Plug().GetParam(kParamShowCurveAll + c)->Value(), want[c]) << "curve " << c;
      EXPECT_EQ(ControlOf(Plug(), kParamShowCurveAll + c)->GetValue(), want[c]) << "curve " << c;
      EXPECT_EQ(Plug().GetScope()->mShowCurve[c], want[c]) << "curve " << c;
    }
  }

  void Band(int band, int chMode, int active) {
    SetFromHost(Plug(), BandParamIndex(band, kBandChMode), chMode);
    SetFromHost(Plug(), BandParamIndex(band, kBandActive), active);
  }
};

TEST_F(CurveSelectionTest, WithAllCurvesEveryActiveBandShowsItsChannel) {
  Band(2, kChannelLeft, 1);
  Band(5, kChannelSide, 1);
  Band(7, kChannelMid, 0);  // inactive: no curve
  ExpectCurves({1, 0, 0, 0, 0});  // the host's changes select nothing

  Mouse(true);
  SetViaControl(Plug(), BandParamIndex(5, kBandChMode), kChannelRight);
  ExpectCurves({0, 1, 1, 0, 0});
  SetViaControl(Plug(), BandParamIndex(2, kBandActive), 0);
  ExpectCurves({0, 0, 1, 0, 0});
  SetViaControl(Plug(), BandParamIndex(0, kBandActive), 1);  // "All"
  ExpectCurves({1, 0, 1, 0, 0});
}

TEST_F(CurveSelectionTest, WithOnlyTheSelectedCurveTheClickedBandDecides) {
  Band(3, kChannelMid, 1);
  Band(4, kChannelSide, 0);
  Mouse(true);
  SetViaControl(Plug(), kParamShowOnlySelectedCurve, 1);
  ExpectCurves({0, 0, 0, 0, 0});
  SetViaControl(Plug(), BandParamIndex(3, kBandChMode), kChannelLeft);
  ExpectCurves({0, 1, 0, 0, 0});
  // An inactive band leaves the switches alone.
  SetViaControl(Plug(), BandParamIndex(4, kBandChMode), kChannelRight);
  ExpectCurves({0, 1, 0, 0, 0});
  SetViaControl(Plug(), BandParamIndex(4, kBandActive), 1);
  ExpectCurves({0, 0, 1, 0, 0});
}

TEST_F(CurveSelectionTest, ShiftClickOnACurveSwitchShowsItAlone) {
  Band(1, kChannelLeft, 1);
  Mouse(true);
  SetViaControl(Plug(), kParamShowCurveMid, 1);
  ExpectCurves({1, 0, 0, 1, 0});
  Mouse(true, true);
  SetViaControl(Plug(), kParamShowCurveSide, 1);
  ExpectCurves({0, 0, 0, 0, 1});
  // Shift on a switch that is on: it stays the only one.
  SetViaControl(Plug(), kParamShowCurveAll, 1);
  ExpectCurves({1, 0, 0, 0, 0});
}

TEST_F(CurveSelectionTest, ClearCurveSelectionTurnsEverySwitchOff) {
  Mouse(true);
  SetViaControl(Plug(), kParamShowCurveRight, 1);
  {
    WDL_MutexLock lock(Plug().GetMutex());
    Plug().ClearCurveSelection();
  }
  ExpectCurves({0, 0, 0, 0, 0});
}

}  // namespace
