#include "editor/BandControlGreying.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "graphics/IControl.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/editor/BrimlowEditor.h"
#include "tests/framework/TestPlug.h"
#include "tests/graphics/FakeGraphics.h"
#include "tests/plugin/controller/PlugHost.h"

namespace {

// Which of Slope, Gain and Q each type greys, as the band strip shows it.
struct GreyCase {
  int type;
  const char* name;
  bool slope, gain, q;
};

const GreyCase kGreyCases[] = {
    {0, "A - Peak", true, false, false},        {1, "A - Low Cut", false, true, false},
    {2, "A - High Cut", false, true, false},    {3, "A - Low Shelf", true, false, false},
    {4, "A - High Shelf", true, false, false},  {5, "A - Tilt Shelf", true, false, false},
    {6, "A - Flat Tilt", true, false, true},    {7, "A - Band Pass", false, true, false},
    {8, "A - Notch", false, true, false},       {9, "D - Peak", false, false, false},
    {10, "D - Low Cut", false, true, false},    {11, "D - High Cut", false, true, false},
    {12, "D - Low Shelf", false, false, true},  {13, "D - High Shelf", false, false, true},
    {14, "D - Tilt Shelf", false, false, true}, {15, "D - Band Pass", false, true, false},
    // No such type: nothing greyed.
    {16, "beyond the list", false, false, false}, {-1, "negative", false, false, false},
};

void PrintTo(const GreyCase& c, std::ostream* os) { *os << c.name; }

// One plain control per band parameter, two of them for band 5's Gain:
// greying reaches every control of the parameter.
class BandGreying : public ::testing::TestWithParam<GreyCase> {
 protected:
  BandGreying() : graphics(new FakeGraphics(&plug, 400, 300)) {
    plug.AttachGraphics(graphics);
    for (int p = 0; p < kParamFScale; ++p) graphics->AttachControl(new IControl(&plug, IRECT(), p));
    graphics->AttachControl(new IControl(&plug, IRECT(), BandParamIndex(5, kBandGain)));
  }
  ~BandGreying() override { plug.DeleteGraphicsForTest(); }

  bool Greyed(int band, int field) const {
    bool any = false;
    for (int i = 0; i < graphics->NControls(); ++i) {
      const IControl* c = graphics->GetControl(i);
      if (c->ParamIdx() != BandParamIndex(band, field)) continue;
      any = true;
      if (!c->IsGrayed()) return false;
    }
    return any;
  }

  class Plug : public TestPlug {
   public:
    Plug() : TestPlug(kNumParams, "2-2") {}
    void DeleteGraphicsForTest() { DeleteGraphics(); }
  } plug;
  FakeGraphics* graphics;
};

TEST_P(BandGreying, GreysWhatTheTypeLeavesUnusedAndUngreysTheRest) {
  const GreyCase& c = GetParam();
  // Everything greyed first: the update must ungrey what the type uses.
  for (int i = 0; i < graphics->NControls(); ++i) graphics->GetControl(i)->GrayOut(true);
  BandControlGreying::UpdateBandControls(graphics, 5, c.type);
  EXPECT_EQ(Greyed(5, kBandSlope), c.slope);
  EXPECT_EQ(Greyed(5, kBandGain), c.gain);
  EXPECT_EQ(Greyed(5, kBandQ), c.q);
  // Frequency, channel, solo and on/off are never the type's business, and
  // the neighbours keep their state.
  for (int field : {kBandActive, kBandType, kBandChMode, kBandFreq, kBandSolo}) EXPECT_TRUE(Greyed(5, field));
  for (int field : {kBandSlope, kBandGain, kBandQ}) {
    EXPECT_TRUE(Greyed(4, field));
    EXPECT_TRUE(Greyed(6, field));
  }
}

INSTANTIATE_TEST_SUITE_P(AllTypes, BandGreying, ::testing::ValuesIn(kGreyCases));

TEST_F(BandGreying, AllBandsFollowTheirOwnTypes) {
  int types[kNumBands];
  for (int b = 0; b < kNumBands; ++b) types[b] = b;  // band b has type b
  BandControlGreying::UpdateAllBandControls(graphics, types);
  for (int b = 0; b < kNumBands; ++b) {
    EXPECT_EQ(Greyed(b, kBandSlope), kGreyCases[b].slope) << b;
    EXPECT_EQ(Greyed(b, kBandGain), kGreyCases[b].gain) << b;
    EXPECT_EQ(Greyed(b, kBandQ), kGreyCases[b].q) << b;
  }
  // Without a graphics object nothing happens, and nothing breaks.
  BandControlGreying::UpdateAllBandControls(nullptr, types);
}

// The plug-in greys as a band's type changes, from the host or the editor.
class PlugInGreying : public BrimlowEditorTest {
 protected:
  bool Greyed(int band, int field) const {
    return graphics->GetControlOfParam(BandParamIndex(band, field))->IsGrayed();
  }
  void SetType(int band, int type) { PlugHost::SetParam(*plug, BandParamIndex(band, kBandType), type, false); }
};

TEST_F(PlugInGreying, TheBandsControlsFollowItsType) {
  // The editor opens with every band greyed as its type says.
  const int type0 = plug->Mirrors().bandType[0];
  EXPECT_EQ(Greyed(0, kBandSlope), kGreyCases[type0].slope);
  EXPECT_EQ(Greyed(0, kBandGain), kGreyCases[type0].gain);

  SetType(3, 1);  // "A - Low Cut"
  EXPECT_TRUE(Greyed(3, kBandGain));
  EXPECT_FALSE(Greyed(3, kBandSlope));
  SetType(3, 9);  // "D - Peak": the gain is back, nothing greyed
  EXPECT_FALSE(Greyed(3, kBandGain));
  EXPECT_FALSE(Greyed(3, kBandSlope));
  EXPECT_FALSE(Greyed(3, kBandQ));
  SetType(3, 12);  // "D - Low Shelf"
  EXPECT_TRUE(Greyed(3, kBandQ));
  // Band 4 has its own type: band 3's never greys its Q.
  SetType(4, 9);
  SetType(3, 6);  // "A - Flat Tilt"
  EXPECT_TRUE(Greyed(3, kBandSlope));
  EXPECT_TRUE(Greyed(3, kBandQ));
  EXPECT_FALSE(Greyed(3, kBandGain));
  EXPECT_FALSE(Greyed(4, kBandQ));
}

}  // namespace
