#include <cmath>
#include <vector>

#include "graphics/IControl.h"
#include "plugin/engine/BandTypes.h"
#include "tests/plugin/controller/BrimlowEditingFixture.h"
#include "tests/plugin/controller/PlugTestSupport.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kBand = 4;

// The Q parameter's normalised scale, from its range 0.01 .. 100 and its
// logarithmic shape (the number of decades it spans).
double QToNormalized(double q) { return std::pow((q - 0.01) / (100.0 - 0.01), 1.0 / 4.0); }
double QFromNormalized(double n) { return 0.01 + (100.0 - 0.01) * std::pow(n, 4.0); }
// The mirrors' grids: a hundredth of a dB, a thousandth of a hertz or of Q.
double RoundTo(double v, double perUnit) { return std::floor(v * perUnit + 0.5) / perUnit; }

class BandEditing : public BrimlowEditingTest {
 protected:
  // A band-menu choice, announced as the right-button menu announces it.
  Access::Request Menu(int band, int command, int value = 0) {
    SetMods(false, false, false);
    GraphEventRecord& e = NewEvent();
    e.mHitBand = band;
    e.mEvMenu = true;
    e.mMenuAction = command;
    e.mMenuValue = value;
    return Access::GraphEvent(*mPlug);
  }

  Access::Request Drag(int band, double dX, double dY, bool shift, bool control, bool option) {
    SetMods(shift, control, option);
    GraphEventRecord& e = NewEvent();
    e.mHitBand = band;
    e.mEvDrag = true;
    e.mDragDX = dX;
    e.mDragDY = dY;
    return Access::GraphEvent(*mPlug);
  }

  Access::Request Wheel(int band, int steps, bool shift, bool control, bool option) {
    SetMods(shift, control, option);
    GraphEventRecord& e = NewEvent();
    e.mHitBand = band;
    e.mEvWheel = true;
    e.mStep = steps;
    return Access::GraphEvent(*mPlug);
  }

  void ExpectBand(int band, int field, double value) {
    EXPECT_NEAR(BandParam(band, field), value, 1e-9) << "field " << field;
  }
};

// ---- Drags -----------------------------------------------------------------

struct DragCase {
  const char* name;
  int type;
  bool shift, control, option;
  double dX, dY;
  double expectGain;  // from 0 dB
  double expectFreq;  // from 1000 Hz
  double expectQ;     // from 0.7
};

class BandDrag : public BandEditing, public ::testing::WithParamInterface<DragCase> {};

TEST_P(BandDrag, MovesTheFieldsTheModifiersAndTypeAllow) {
  const DragCase c = GetParam();
  Access::SetBand(*mPlug, kBand, kBandFreq, 1000.0);
  Access::SetBand(*mPlug, kBand, kBandType, c.type);
  Access::SetBand(*mPlug, kBand, kBandActive, 1.0);
  // After the set-up: every band change redraws the handles, which sets the
  // scales from the plot's geometry.
  mScope->mEvent.mDBPerPixel = 2.0;
  mScope->mEvent.mDecadesPerPixel = 0.01;

  const Access::Request r = Drag(kBand, c.dX, c.dY, c.shift, c.control, c.option);

  EXPECT_NEAR(BandParam(kBand, kBandGain), c.expectGain, 1e-9);
  EXPECT_NEAR(BandParam(kBand, kBandFreq), c.expectFreq, 1e-6);
  EXPECT_NEAR(BandParam(kBand, kBandQ), c.expectQ, 1e-9);
  EXPECT_DOUBLE_EQ(M().bandGain[kBand], RoundTo(c.expectGain, 100));
  EXPECT_DOUBLE_EQ(M().bandFreq[kBand], RoundTo(c.expectFreq, 1000));
  EXPECT_DOUBLE_EQ(M().bandQ[kBand], RoundTo(c.expectQ, 1000));
  const bool changed = c.expectGain != 0.0 || c.expectFreq != 1000.0 || c.expectQ != 0.7;
  EXPECT_EQ(r.displayRedesign, changed);
  EXPECT_EQ(r.audioRedesign, changed);
  EXPECT_EQ(r.band, changed ? kBand : -1);
}

const double kUpADecadeTenth = 1000.0 * std::pow(10.0, 0.1);   // dX 10 px at 0.01 decades/px
const double kUpADecadeFine = 1000.0 * std::pow(10.0, 0.01);  // the same with Shift
const double kQUp3Db = 0.7 * std::exp(3.0 * 0.11512925464970228);

INSTANTIATE_TEST_SUITE_P(
    Cases, BandDrag,
    ::testing::Values(DragCase{"PeakDown10At2DbPerPx", kTypeAPeak, false, false, false, 0, 10, -20, 1000, 0.7},
                      DragCase{"PeakFineDown", kTypeAPeak, true, false, false, 0, 10, -2, 1000, 0.7},
                      DragCase{"PeakBoth", kTypeAPeak, false, false, false, 10, 10, -20, kUpADecadeTenth, 0.7},
                      DragCase{"PeakFineBoth", kTypeAPeak, true, false, false, 10, 10, -2, kUpADecadeFine, 0.7},
                      DragCase{"ControlFrequencyOnly", kTypeAPeak, false, true, false, 10, 10, 0, kUpADecadeTenth, 0.7},
                      DragCase{"OptionGainOnly", kTypeAPeak, false, false, true, 10, 10, -20, 1000, 0.7},
                      DragCase{"OptionControlFrequency", kTypeAPeak, false, true, true, 10, 10, 0, kUpADecadeTenth,
                               0.7},
                      DragCase{"OptionControlShiftNothing", kTypeAPeak, true, true, true, 10, 10, 0, 1000, 0.7},
                      DragCase{"HighCutUp3DbMovesQ", kTypeAHighCut, false, false, true, 0, -1.5, 0, 1000, kQUp3Db},
                      DragCase{"DLowShelfGain", kTypeDLowShelf, false, false, true, 0, -3, 6, 1000, 0.7},
                      DragCase{"BandPassGainNothing", kTypeABandPass, false, false, true, 0, 10, 0, 1000, 0.7},
                      DragCase{"DBandPassGainNothing", kTypeDBandPass, false, false, true, 0, 10, 0, 1000, 0.7}),
    [](const ::testing::TestParamInfo<DragCase>& info) { return std::string(info.param.name); });

TEST_F(BandEditing, HighCutQDraggedUpThreeDbIsAboutPoint989) {
  Access::SetBand(*mPlug, kBand, kBandType, kTypeAHighCut);
  mScope->mEvent.mDBPerPixel = 1.0;
  Drag(kBand, 0, -3, false, false, true);
  EXPECT_DOUBLE_EQ(M().bandQ[kBand], 0.989);
  EXPECT_DOUBLE_EQ(BandParam(kBand, kBandGain), 0.0);
}

TEST_F(BandEditing, InactiveBandEditAsksForTheDisplayOnly) {
  mScope->mEvent.mDBPerPixel = 1.0;
  const Access::Request r = Drag(kBand, 0, 4, false, false, true);
  EXPECT_DOUBLE_EQ(M().bandGain[kBand], -4.0);
  EXPECT_FALSE(r.audioRedesign);
  EXPECT_TRUE(r.displayRedesign);
  EXPECT_EQ(r.band, kBand);
}

TEST_F(BandEditing, FrequencyDragStopsAtTheParameterRange) {
  mScope->mEvent.mDecadesPerPixel = 0.01;
  Drag(kBand, 1000, 0, false, true, false);
  EXPECT_DOUBLE_EQ(BandParam(kBand, kBandFreq), 48000.0);
  EXPECT_DOUBLE_EQ(M().bandFreq[kBand], 48000.0);
  Drag(kBand, -2000, 0, false, true, false);
  EXPECT_DOUBLE_EQ(M().bandFreq[kBand], 10.0);
}

// ---- Wheel -----------------------------------------------------------------

struct WheelCase {
  const char* name;
  int type;
  bool shift, control, option;
  int steps;
  double expectQ;
  int expectSlope, expectChannel, expectType;  // from slope 0, channel 0
};

class BandWheel : public BandEditing, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(BandWheel, StepsWhatTheModifiersSelect) {
  const WheelCase c = GetParam();
  Access::SetBand(*mPlug, kBand, kBandType, c.type);
  const Access::Request r = Wheel(kBand, c.steps, c.shift, c.control, c.option);
  EXPECT_NEAR(BandParam(kBand, kBandQ), c.expectQ, 1e-9);
  EXPECT_DOUBLE_EQ(M().bandQ[kBand], RoundTo(c.expectQ, 1000));
  EXPECT_EQ(M().bandSlope[kBand], c.expectSlope);
  EXPECT_EQ(M().bandChMode[kBand], c.expectChannel);
  EXPECT_EQ(M().bandType[kBand], c.expectType);
  EXPECT_DOUBLE_EQ(BandParam(kBand, kBandSlope), c.expectSlope);
  EXPECT_DOUBLE_EQ(BandParam(kBand, kBandChMode), c.expectChannel);
  EXPECT_DOUBLE_EQ(BandParam(kBand, kBandType), c.expectType);
  const bool changed = c.expectQ != 0.7 || c.expectSlope != 0 || c.expectChannel != 0 || c.expectType != c.type;
  EXPECT_EQ(r.displayRedesign, changed);
}

// Wheel up is a negative step count and raises the Q.
const double kQNotchUp = QFromNormalized(QToNormalized(0.7) + 0.01);
const double kQFineDown2 = QFromNormalized(QToNormalized(0.7) - 0.002);

INSTANTIATE_TEST_SUITE_P(
    Cases, BandWheel,
    ::testing::Values(WheelCase{"BandPassQ", kTypeABandPass, false, false, false, -1, kQNotchUp, 0, 0, kTypeABandPass},
                      WheelCase{"NotchFineQ", kTypeANotch, true, false, false, 2, kQFineDown2, 0, 0, kTypeANotch},
                      WheelCase{"PeakFineQWithOption", kTypeAPeak, true, false, true, 2, kQFineDown2, 0, 0,
                                kTypeAPeak},
                      WheelCase{"CutNothing", kTypeAHighCut, false, false, false, -1, 0.7, 0, 0, kTypeAHighCut},
                      WheelCase{"FlatTiltNothing", kTypeAFlatTilt, false, false, false, -1, 0.7, 0, 0, kTypeAFlatTilt},
                      WheelCase{"OptionSlope", kTypeDPeak, false, false, true, 1, 0.7, 1, 0, kTypeDPeak},
                      WheelCase{"ControlChannel", kTypeAPeak, false, true, false, 3, 0.7, 0, 1, kTypeAPeak},
                      WheelCase{"OptionControlChannel", kTypeAPeak, false, true, true, 1, 0.7, 0, 1, kTypeAPeak},
                      WheelCase{"ShiftControlType", kTypeAPeak, true, true, false, 1, 0.7, 0, 0, kTypeALowCut},
                      WheelCase{"AllThreeNothing", kTypeAPeak, true, true, true, 1, 0.7, 0, 0, kTypeAPeak}),
    [](const ::testing::TestParamInfo<WheelCase>& info) { return std::string(info.param.name); });

TEST_F(BandEditing, OptionWheelStopsAtBothEndsOfTheSlope) {
  Access::SetBand(*mPlug, kBand, kBandType, kTypeALowCut);
  Wheel(kBand, -1, false, false, true);
  EXPECT_EQ(M().bandSlope[kBand], 0);  // " 6 dB"
  for (int i = 0; i < 20; ++i) Wheel(kBand, 1, false, false, true);
  EXPECT_EQ(M().bandSlope[kBand], 15);  // "96 dB"
  EXPECT_DOUBLE_EQ(BandParam(kBand, kBandSlope), 15.0);
  // The value is re-sent unchanged when the wheel gives no step.
  Wheel(kBand, 0, false, false, true);
  EXPECT_EQ(M().bandSlope[kBand], 15);
}

TEST_F(BandEditing, TypeWheelStopsAtTheLastOfferedType) {
  Access::SetBand(*mPlug, kBand, kBandType, kTypeDTiltShelf);
  Wheel(kBand, 1, true, true, false);
  Wheel(kBand, 1, true, true, false);
  EXPECT_EQ(M().bandType[kBand], kTypeDBandPass);
}

// ---- Band menu -------------------------------------------------------------

TEST_F(BandEditing, MoveOutLeavesTheBandAt48kHzInactiveWithDefaults) {
  Access::SetBand(*mPlug, kBand, kBandActive, 1.0);
  Access::SetBand(*mPlug, kBand, kBandType, kTypeDLowShelf);
  Access::SetBand(*mPlug, kBand, kBandChMode, kChannelSide);
  Access::SetBand(*mPlug, kBand, kBandSlope, 5);
  Access::SetBand(*mPlug, kBand, kBandGain, 7.5);
  Access::SetBand(*mPlug, kBand, kBandQ, 3.0);
  Access::SetBand(*mPlug, kBand, kBandSolo, 1.0);

  const Access::Request r = Menu(kBand, GraphEventRecord::kCommandMoveOut);

  ExpectBand(kBand, kBandFreq, 48000.0);
  ExpectBand(kBand, kBandActive, 0.0);
  ExpectBand(kBand, kBandType, kTypeAPeak);
  ExpectBand(kBand, kBandChMode, kChannelAll);
  ExpectBand(kBand, kBandSlope, 0.0);
  ExpectBand(kBand, kBandGain, 0.0);
  ExpectBand(kBand, kBandQ, 0.7);
  ExpectBand(kBand, kBandSolo, 1.0);  // Move Out keeps the Solo switch
  EXPECT_DOUBLE_EQ(M().bandFreq[kBand], 48000.0);
  EXPECT_EQ(M().bandActive[kBand], 0);
  EXPECT_EQ(M().bandType[kBand], kTypeAPeak);
  EXPECT_EQ(M().bandChMode[kBand], kChannelAll);
  EXPECT_EQ(M().bandSlope[kBand], 0);
  EXPECT_DOUBLE_EQ(M().bandGain[kBand], 0.0);
  EXPECT_DOUBLE_EQ(M().bandQ[kBand], 0.7);
  // The band was in the chain: the audio path must drop it.
  EXPECT_TRUE(r.audioRedesign);
  EXPECT_TRUE(r.displayRedesign);
}

TEST_F(BandEditing, InvertGainAllFlipsEveryGainTypeAndSkipsTheOthers) {
  const struct {
    int type;
    bool active;
    double gain;
    bool flips;
  } bands[] = {{kTypeAPeak, true, 3.0, true},       {kTypeAPeak, false, -4.0, true},
               {kTypeAHighCut, true, 5.0, false},   {kTypeABandPass, true, 6.0, false},
               {kTypeANotch, false, 7.0, false},    {kTypeDTiltShelf, false, 2.5, true},
               {kTypeAFlatTilt, true, -1.25, true}, {kTypeDBandPass, true, 8.0, false},
               {kTypeDLowCut, true, 9.0, false}};
  int b = 0;
  for (const auto& band : bands) {
    Access::SetBand(*mPlug, b, kBandGain, band.gain);
    Access::SetBand(*mPlug, b, kBandType, band.type);
    Access::SetBand(*mPlug, b, kBandActive, band.active ? 1.0 : 0.0);
    ++b;
  }

  const Access::Request r = Menu(1, GraphEventRecord::kCommandInvertGainAll);

  b = 0;
  for (const auto& band : bands) {
    const double expected = band.flips ? -band.gain : band.gain;
    EXPECT_DOUBLE_EQ(BandParam(b, kBandGain), expected) << "band " << b;
    EXPECT_DOUBLE_EQ(M().bandGain[b], expected) << "band " << b;
    ++b;
  }
  EXPECT_TRUE(r.audioRedesign);
  EXPECT_TRUE(r.displayRedesign);
  EXPECT_EQ(r.band, -1);
}

TEST_F(BandEditing, InvertGainOnACutBandDoesNothing) {
  Access::SetBand(*mPlug, kBand, kBandGain, 5.0);
  Access::SetBand(*mPlug, kBand, kBandType, kTypeDHighCut);
  const Access::Request r = Menu(kBand, GraphEventRecord::kCommandInvertGain);
  EXPECT_DOUBLE_EQ(M().bandGain[kBand], 5.0);
  EXPECT_FALSE(r.displayRedesign);
  EXPECT_FALSE(r.audioRedesign);

  Access::SetBand(*mPlug, kBand, kBandType, kTypeATiltShelf);
  const Access::Request flipped = Menu(kBand, GraphEventRecord::kCommandInvertGain);
  EXPECT_DOUBLE_EQ(M().bandGain[kBand], -5.0);
  EXPECT_TRUE(flipped.displayRedesign);
}

TEST_F(BandEditing, MenuSoloTogglesOnlyThatBandAndAsksForNoRedesign) {
  // In "Zero Latency", the mode an instance starts in.
  Access::SetBand(*mPlug, 7, kBandSolo, 1.0);
  const Access::Request on = Menu(3, GraphEventRecord::kCommandSolo);
  EXPECT_EQ(M().bandSolo[3], 1);
  EXPECT_DOUBLE_EQ(BandParam(3, kBandSolo), 1.0);
  EXPECT_EQ(M().bandSolo[7], 1);
  EXPECT_DOUBLE_EQ(BandParam(7, kBandSolo), 1.0);
  EXPECT_FALSE(on.audioRedesign || on.displayRedesign);

  Menu(3, GraphEventRecord::kCommandSolo);
  EXPECT_EQ(M().bandSolo[3], 0);
  EXPECT_EQ(M().bandSolo[7], 1);
}

TEST_F(BandEditing, MenuSoloIsHeardInEveryFilterMode) {
  // A FIR mode hears the bands through an impulse built from the soloed
  // chain: the menu's Solo must sound as the same Solo set by the host.
  for (int mode : {0, 4}) {
    std::unique_ptr<Brimlow> host(MakePlug());
    for (Brimlow* plug : {mPlug.get(), host.get()}) {
      plugtest::SetFromHost(*plug, kParamFilterMode, mode);
      plugtest::SetFromHost(*plug, BandParamIndex(2, kBandActive), 1);
      plugtest::SetFromHost(*plug, BandParamIndex(2, kBandGain), 12.0);
      plugtest::SetFromHost(*plug, BandParamIndex(2, kBandFreq), 1000.0);
      plugtest::SetFromHost(*plug, BandParamIndex(7, kBandActive), 1);
      plugtest::SetFromHost(*plug, BandParamIndex(7, kBandGain), -12.0);
      plugtest::SetFromHost(*plug, BandParamIndex(7, kBandFreq), 5000.0);
    }
    plugtest::SetFromHost(*host, BandParamIndex(7, kBandSolo), 1);
    // The menu's choice, through the dispatch as the graph announces it.
    SetMods(false, false, false);
    GraphEventRecord& e = NewEvent();
    e.mHitBand = 7;
    e.mEvMenu = true;
    e.mMenuAction = GraphEventRecord::kCommandSolo;
    mPlug->OnParamChange(Brimlow::kScopeTag);
    ASSERT_EQ(M().bandSolo[7], 1);

    std::vector<double> left(16384), right(16384);
    for (size_t i = 0; i < left.size(); ++i) {
      left[i] = std::sin(2.0 * kPi * 1000.0 * static_cast<double>(i) / 44100.0);
      right[i] = std::sin(2.0 * kPi * 5000.0 * static_cast<double>(i) / 44100.0);
    }
    const auto heard = plugtest::Process(*mPlug, left, right);
    const auto expected = plugtest::Process(*host, left, right);
    for (int c = 0; c < 2; ++c) {
      for (size_t i = 0; i < left.size(); ++i) {
        ASSERT_NEAR(heard[c][i], expected[c][i], 1e-12) << "mode " << mode << " channel " << c << " frame " << i;
      }
    }
    // Back to the band's solo off for the next mode.
    mPlug->OnParamChange(Brimlow::kScopeTag);
    ASSERT_EQ(M().bandSolo[7], 0);
  }
}

TEST_F(BandEditing, MenuSubmenusSetTypeChannelAndSlope) {
  Access::SetBand(*mPlug, kBand, kBandActive, 1.0);
  const Access::Request type = Menu(kBand, GraphEventRecord::kCommandType, kTypeANotch);
  EXPECT_EQ(M().bandType[kBand], kTypeANotch);
  EXPECT_TRUE(type.audioRedesign);
  EXPECT_EQ(type.band, kBand);
  Menu(kBand, GraphEventRecord::kCommandChannel, kChannelMid);
  EXPECT_EQ(M().bandChMode[kBand], kChannelMid);
  Menu(kBand, GraphEventRecord::kCommandSlope, 9);
  EXPECT_EQ(M().bandSlope[kBand], 9);
  EXPECT_DOUBLE_EQ(BandParam(kBand, kBandSlope), 9.0);
  // An index past the list is clamped by the parameter.
  Menu(kBand, GraphEventRecord::kCommandType, 40);
  EXPECT_EQ(M().bandType[kBand], kTypeDBandPass);
  // An unknown command changes nothing.
  const Access::Request none = Menu(kBand, 12);
  EXPECT_FALSE(none.displayRedesign);
}

TEST_F(BandEditing, BandLineTogglesActiveAndRedesignsAllBands) {
  const Access::Request on = Menu(kBand, GraphEventRecord::kCommandBandLine);
  EXPECT_EQ(M().bandActive[kBand], 1);
  EXPECT_DOUBLE_EQ(BandParam(kBand, kBandActive), 1.0);
  EXPECT_TRUE(on.audioRedesign);
  EXPECT_TRUE(on.displayRedesign);
  EXPECT_EQ(on.band, -1);
  Menu(kBand, GraphEventRecord::kCommandBandLine);
  EXPECT_EQ(M().bandActive[kBand], 0);
}

// Which presses and menu announcements reach the band menu.
struct MenuRouteCase {
  const char* name;
  bool down, menu;
  bool shift, control, option;
  bool applies;
};

class BandMenuRoute : public BandEditing, public ::testing::WithParamInterface<MenuRouteCase> {};

TEST_P(BandMenuRoute, OnlyTheMenuButtonOrShiftControlPressChoose) {
  const MenuRouteCase c = GetParam();
  SetMods(c.shift, c.control, c.option);
  GraphEventRecord& e = NewEvent();
  e.mHitBand = kBand;
  e.mEvDown = c.down;
  e.mEvMenu = c.menu;
  e.mMenuAction = GraphEventRecord::kCommandType;
  e.mMenuValue = kTypeDPeak;
  Access::GraphEvent(*mPlug);
  EXPECT_EQ(M().bandType[kBand], c.applies ? kTypeDPeak : kTypeAPeak);
}

INSTANTIATE_TEST_SUITE_P(Cases, BandMenuRoute,
                         ::testing::Values(MenuRouteCase{"RightButton", false, true, false, false, false, true},
                                           MenuRouteCase{"RightButtonShift", false, true, true, false, false, false},
                                           MenuRouteCase{"RightButtonOption", false, true, false, false, true, false},
                                           MenuRouteCase{"ShiftControlDown", true, false, true, true, false, true},
                                           MenuRouteCase{"ShiftControlOptionDown", true, false, true, true, true, true},
                                           MenuRouteCase{"ShiftDown", true, false, true, false, false, false},
                                           MenuRouteCase{"ControlDown", true, false, false, true, false, false},
                                           MenuRouteCase{"PlainDown", true, false, false, false, false, false}),
                         [](const ::testing::TestParamInfo<MenuRouteCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(BandEditing, DoubleClickTogglesAndControlDoubleClickResets) {
  SetMods(false, false, false);
  NewEvent().mHitBand = kBand;
  mScope->mEvent.mEvDblClick = true;
  mScope->NotifyPlug();
  EXPECT_EQ(M().bandActive[kBand], 1);

  Access::SetBand(*mPlug, kBand, kBandGain, 9.0);
  SetMods(false, true, false);
  NewEvent().mHitBand = kBand;
  mScope->mEvent.mEvDblClick = true;
  mScope->NotifyPlug();
  EXPECT_DOUBLE_EQ(M().bandGain[kBand], 0.0);
  EXPECT_EQ(M().bandActive[kBand], 1);  // Reset keeps Active

  // Option alone and Shift do nothing.
  for (const bool shift : {false, true}) {
    SetMods(shift, false, !shift);
    NewEvent().mHitBand = kBand;
    mScope->mEvent.mEvDblClick = true;
    mScope->NotifyPlug();
    EXPECT_EQ(M().bandActive[kBand], 1);
  }
}

// ---- Hover and band-listen -------------------------------------------------

TEST_F(BandEditing, HoverLightsOnlyTheFrameOfTheBandUnderTheMouse) {
  const auto frame = [this](int b) { return mGui->GetControl(mPlug->mBandFrameControls[b])->GetValue(); };
  for (const int hovered : {2, 9, -1}) {
    SetMods(false, false, false);
    NewEvent().mHitBand = hovered;
    mScope->mEvent.mEvHover = true;
    mScope->NotifyPlug();
    for (int b = 0; b < kNumBands; ++b) EXPECT_DOUBLE_EQ(frame(b), b == hovered ? 1.0 : 0.0) << hovered << " " << b;
  }
}

TEST_F(BandEditing, ControlClickListensAtTheClampedFrequencyAndGainUntilMouseUp) {
  SetMods(false, true, false);
  GraphEventRecord& e = NewEvent();
  e.mPlotHit = 1;
  e.mEvDown = true;
  e.mHzAtMouse = 30000.0;
  e.mDBAtMouse = 40.0;
  mScope->NotifyPlug();

  ASSERT_TRUE(mPlug->GetEngine().IsListening());
  EXPECT_EQ(mScope->mMouseColumn, 1);
  const double rate = mPlug->DspSampleRate();
  const double k = 1.0 / std::tan(kPi * 22000.0 / rate);
  const double gain = std::pow(10.0, 30.0 / 20.0);
  const BandListen& listen = mPlug->GetEngine().GetFilterBank().GetListen();
  for (int channel = 0; channel < 2; ++channel) {
    for (int stage = 0; stage < 2; ++stage) {
      const ListenSection& s = listen.GetSection(channel, stage);
      EXPECT_NEAR(s.k, k, 1e-9 * k);
      EXPECT_NEAR(s.d, 0.5005, 1e-12);
      const double n = (s.d + k) * k + 1.0;
      EXPECT_NEAR(s.a1, 2.0 * (1.0 - k * k) / n, 1e-12);
      EXPECT_NEAR(s.a2, ((k - 0.5005) * k + 1.0) / n, 1e-12);
      EXPECT_NEAR(s.b0, 0.5005 * k / n, 1e-12);
      EXPECT_NEAR(s.gain, gain, 1e-9);
    }
  }

  // A Control-drag moves the listen frequency with the mouse.
  GraphEventRecord& drag = NewEvent();
  drag.mPlotHit = 1;
  drag.mEvDrag = true;
  drag.mHzAtMouse = 1000.0;
  drag.mDBAtMouse = -6.0;
  mScope->NotifyPlug();
  EXPECT_NEAR(listen.GetSection(1, 1).k, 1.0 / std::tan(kPi * 1000.0 / rate), 1e-9);
  EXPECT_NEAR(listen.GetSection(1, 1).gain, std::pow(10.0, -6.0 / 20.0), 1e-12);

  SetMods(false, false, false);
  NewEvent().mEvUp = true;
  mScope->NotifyPlug();
  EXPECT_FALSE(mPlug->GetEngine().IsListening());
  EXPECT_EQ(mScope->mMouseColumn, 0);
}

TEST_F(BandEditing, ListenAtALowHostRateStaysBelowHalfTheRate) {
  mPlug->SetSampleRate(32000.0);
  mPlug->Reset();
  SetMods(false, true, false);
  GraphEventRecord& e = NewEvent();
  e.mPlotHit = 1;
  e.mEvDown = true;
  e.mHzAtMouse = 30000.0;
  e.mDBAtMouse = 0.0;
  mScope->NotifyPlug();

  const ListenSection& s = mPlug->GetEngine().GetFilterBank().GetListen().GetSection(0, 0);
  // Poles of z^2 + a1 z + a2 inside the unit circle: |a2| < 1, |a1| < 1 + a2.
  EXPECT_GT(s.k, 0.0);
  EXPECT_LT(std::fabs(s.a2), 1.0);
  EXPECT_LT(std::fabs(s.a1), 1.0 + s.a2);
  const double designedHz = std::atan(1.0 / s.k) * 32000.0 / kPi;
  EXPECT_LT(designedHz, 16000.0);
}

TEST_F(BandEditing, PressesWithoutControlDoNotListen) {
  for (const bool shift : {false, true}) {
    SetMods(shift, shift, false);  // Shift+Control is not a listen press
    GraphEventRecord& e = NewEvent();
    e.mPlotHit = 1;
    e.mEvDown = true;
    e.mHzAtMouse = 1000.0;
    mScope->NotifyPlug();
    EXPECT_FALSE(mPlug->GetEngine().IsListening());
  }
}

// ---- Strips ----------------------------------------------------------------

TEST_F(BandEditing, WheelOnTheStripsZoomsAndLinkedScalesMoveTogether) {
  SetMods(false, false, false);
  GraphEventRecord& f = NewEvent();
  f.mPlotHit = 1;
  f.mOnFreqScale = 1;
  f.mEvWheel = true;
  f.mStep = -3;
  mScope->NotifyPlug();
  EXPECT_NEAR(M().fScalePercent, 85.0, 1e-9);
  EXPECT_NEAR(mScope->mFreqZoom, 0.85, 1e-9);

  GraphEventRecord& a = NewEvent();
  a.mPlotHit = 1;
  a.mOnAnalyzerScale = 1;
  a.mEvWheel = true;
  a.mStep = -2;
  mScope->NotifyPlug();
  EXPECT_NEAR(M().gScalePercent, 90.0, 1e-9);
  EXPECT_NEAR(M().eqScalePercent, 90.0, 1e-9);  // "Link EQ" is on by default
  EXPECT_NEAR(mScope->mSpecZoom, 0.9, 1e-9);
  EXPECT_NEAR(mScope->mEqZoom, 0.9, 1e-9);

  Access::SetLinkEQ(*mPlug, false);
  GraphEventRecord& q = NewEvent();
  q.mPlotHit = 1;
  q.mOnEQScale = 1;
  q.mEvWheel = true;
  q.mStep = -4;
  mScope->NotifyPlug();
  EXPECT_NEAR(M().eqScalePercent, 70.0, 1e-9);
  EXPECT_NEAR(M().gScalePercent, 90.0, 1e-9);

  // A modifier turns the wheel off the strips.
  SetMods(false, false, true);
  GraphEventRecord& off = NewEvent();
  off.mPlotHit = 1;
  off.mOnFreqScale = 1;
  off.mEvWheel = true;
  off.mStep = 1;
  mScope->NotifyPlug();
  EXPECT_NEAR(M().fScalePercent, 85.0, 1e-9);
}

TEST_F(BandEditing, OptionClickResetsTheStripAndShiftDragZooms) {
  SetMods(true, false, false);
  GraphEventRecord& zoom = NewEvent();
  zoom.mPlotHit = 1;
  zoom.mOnEQScale = 1;
  zoom.mEvDrag = true;
  zoom.mStep = -1;
  mScope->NotifyPlug();
  EXPECT_NEAR(M().eqScalePercent, 95.0, 1e-9);
  EXPECT_NEAR(M().gScalePercent, 95.0, 1e-9);

  SetMods(false, false, true);
  GraphEventRecord& reset = NewEvent();
  reset.mPlotHit = 1;
  reset.mOnAnalyzerScale = 1;
  reset.mEvDown = true;
  mScope->NotifyPlug();
  EXPECT_NEAR(M().gScalePercent, 100.0, 1e-9);
  EXPECT_NEAR(M().eqScalePercent, 100.0, 1e-9);
  EXPECT_NEAR(Param(kParamGScale), 100.0, 1e-9);
  EXPECT_NEAR(Param(kParamEQScale), 100.0, 1e-9);
}

TEST_F(BandEditing, PlainDragPansOnlyTheViewOfItsStrip) {
  SetMods(false, false, false);
  // The graph keeps dX in the frequency strip and zeroes dY.
  GraphEventRecord& f = NewEvent();
  f.mPlotHit = 1;
  f.mOnFreqScale = 1;
  f.mEvDrag = true;
  f.mDragDX = 10.0;
  mScope->NotifyPlug();
  EXPECT_NEAR(M().fOffsetPercent, 20.0, 1e-9);  // 30 - (100/100) * 10
  EXPECT_DOUBLE_EQ(M().dbOffsetDb, 0.0);

  GraphEventRecord& g = NewEvent();
  g.mPlotHit = 1;
  g.mOnAnalyzerScale = 1;
  g.mEvDrag = true;
  g.mDragDY = -12.0;
  mScope->NotifyPlug();
  EXPECT_DOUBLE_EQ(M().dbOffsetDb, 12.0);
  EXPECT_DOUBLE_EQ(mScope->mSpecDbOffset, -12.0);
  EXPECT_NEAR(M().fOffsetPercent, 20.0, 1e-9);

  // Option on a drag off the bands moves nothing.
  SetMods(false, false, true);
  GraphEventRecord& o = NewEvent();
  o.mPlotHit = 1;
  o.mOnFreqScale = 1;
  o.mEvDrag = true;
  o.mDragDX = 10.0;
  mScope->NotifyPlug();
  EXPECT_NEAR(M().fOffsetPercent, 20.0, 1e-9);
}

}  // namespace
