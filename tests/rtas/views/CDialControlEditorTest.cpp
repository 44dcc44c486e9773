#include "rtas/views/CDialControlEditor.h"

#include <cmath>

#include "ViewTestSupport.h"
#include "rtas/views/DescriptionParser.h"

namespace {

CDialControlEditor* MakeDial(CCustomView* root, const char* options) {
  ViewItem item;
  item.text = std::string("!Dial[('dial')('NONE')(") + options + ")]";
  DescriptionParser parser(&item);
  EXPECT_TRUE(parser.ParseViewDescription());
  CDialControlEditor* dial = new CDialControlEditor;
  dial->SetFrameRect(Rect{0, 0, 58, 58});  // pointer circle: inset 8, radius 21 about (29, 29)
  dial->SetEnabled(true);
  dial->ApplyDescription(&parser);
  root->AddChild(dial, false);
  return dial;
}

}  // namespace

class Dial : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    mRoot.SetFrameRect(Rect{0, 0, kHeight, kWidth});
  }
  CCustomView mRoot;
};

TEST_F(Dial, ThePointerSweeps0Point8OfAHalfTurnEachWay) {
  CDialControlEditor* dial = MakeDial(&mRoot, "");
  struct Case {
    int32_t value;
    double angle;  // screen radians, y down
  };
  for (const Case& c : {Case{0, -M_PI / 2}, Case{INT32_MAX, 0.8 * M_PI - M_PI / 2},
                        Case{-1073741824, -0.4 * M_PI - M_PI / 2}}) {
    Point from, to;
    dial->PointerLine(c.value, &from, &to);
    EXPECT_EQ(to.h, std::lround(29 + 21 * std::cos(c.angle))) << c.value;
    EXPECT_EQ(to.v, std::lround(29 + 21 * std::sin(c.angle))) << c.value;
    EXPECT_EQ(from.h, std::lround(29 + 0.25 * 21 * std::cos(c.angle))) << c.value;
    EXPECT_EQ(from.v, std::lround(29 + 0.25 * 21 * std::sin(c.angle))) << c.value;
  }
  CDialControlEditor* cyclic = MakeDial(&mRoot, "cyclical reverse");
  EXPECT_NEAR(cyclic->PointerAngle(INT32_MAX), -M_PI - M_PI / 2, 1e-9);
}

TEST_F(Dial, TheMouseAngleBecomesAFractionOfATurn) {
  // angle (PtToAngle degrees) -> upper 16 bits and the low half
  struct Case {
    const char* options;
    int angle;
    int32_t value;
  };
  auto build = [](int fraction) {
    uint32_t v = static_cast<uint32_t>(fraction) << 16;
    if (fraction > 0) v += static_cast<uint32_t>(2 * fraction % 65536);
    return static_cast<int32_t>(v);
  };
  const Case cases[] = {
      {"cyclical", 0, 0},
      {"cyclical", 90, build(90 * 65536 / 360)},
      {"cyclical", 180, build(32767)},
      {"cyclical", 270, build(-90 * 65536 / 360)},
      {"", 90, build(112 * 65536 / 360)},  // 90 * 10 / 8 = 112
      {"", 170, build(32767)},             // 212, clamped to 180
      {"", 200, build(-180 * 65536 / 360)},
      {"cyclical reverse", 90, build(-90 * 65536 / 360)},
  };
  for (const Case& c : cases) {
    CDialControlEditor* dial = MakeDial(&mRoot, c.options);
    EXPECT_EQ(dial->ValueForAngle(c.angle, 0x12340000), c.value) << c.options << " " << c.angle;
  }
  // The same upper half keeps the present value, low bits and all.
  CDialControlEditor* dial = MakeDial(&mRoot, "cyclical");
  const int32_t present = build(90 * 65536 / 360) + 77;
  EXPECT_EQ(dial->ValueForAngle(90, present), present);
}

TEST_F(Dial, DrawingTheFaceAndMovingThePointer) {
  CDialControlEditor* dial = MakeDial(&mRoot, "");
  mRoot.AttachPort(mPort);
  ClearLog();
  dial->DrawRect(nullptr);
  const auto ovals = Ops(platform::DrawOp::kEraseOval);
  ASSERT_EQ(ovals.size(), 1u);
  EXPECT_EQ(ovals[0].rect, (Rect{4, 4, 54, 54}));
  EXPECT_EQ(ovals[0].back, (RGBColor{0xAAAA, 0xAAAA, 0xAAAA}));
  const auto frames = Ops(platform::DrawOp::kFrameOval);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].penSize, (Point{2, 2}));
  ClearLog();
  dial->SetValue(INT32_MAX);
  dial->ValueChanged();
  const auto lines = Ops(platform::DrawOp::kLine);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].fore, (RGBColor{0xAAAA, 0xAAAA, 0xAAAA}));  // the old pointer erased
  EXPECT_EQ(lines[0].to, (Point{8, 29}));                      // straight up
  EXPECT_EQ(lines[1].penSize, (Point{1, 1}));
}

TEST_F(Dial, TrackingSetsTheValueAsTheMouseMoves) {
  CDialControlEditor* dial = MakeDial(&mRoot, "cyclical");
  platform::ScriptMouse(Point{0, 29}, true, {At(58, 29), At(29, 58), At(29, 58, false)});
  EventRecord click = Click(29, 0);
  dial->TrackClick(&click, false);
    // The last position, straight down, is half a turn: the top fraction.
  EXPECT_EQ(static_cast<int16_t>(static_cast<uint32_t>(dial->GetValue()) >> 16), 32767);
  EXPECT_FALSE(dial->IsHilited());
}
