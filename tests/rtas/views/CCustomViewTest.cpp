#include "rtas/views/CCustomView.h"

#include <memory>

#include "ViewTestSupport.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/views/PlatePalette.h"
#include "rtas/library/CDAEError.h"

namespace {

struct Segment {
  Point from, to;
  RGBColor color;
};

// The plate's bevel as listed in its definition: one polyline per colour,
// vertices as (h, v).
std::vector<Segment> ExpectedBevel(const Rect& f, const PlatePalette& p, bool inverse) {
  const int l = f.left, t = f.top, r = f.right, b = f.bottom;
  struct Polyline {
    RGBColor color;
    std::vector<std::pair<int, int>> points;
  };
  const std::vector<Polyline> lines = {
      {inverse ? p.c[5] : p.c[0], {{l, b - 2}, {l, t}, {r - 2, t}}},
      {inverse ? p.c[4] : p.c[1], {{l + 1, b - 3}, {l + 1, t + 1}, {r - 3, t + 1}}},
      {p.c[3],
       inverse ? std::vector<std::pair<int, int>>{{l, b - 1}, {l + 2, b - 3}, {l + 2, t + 2}, {r - 3, t + 2}, {r - 1, t}}
               : std::vector<std::pair<int, int>>{{l, b - 1}, {l + 2, b - 3}, {r - 3, b - 3}, {r - 3, t + 2}, {r - 1, t}}},
      {inverse ? p.c[1] : p.c[4], {{l + 2, b - 2}, {r - 2, b - 2}, {r - 2, t + 2}}},
      {inverse ? p.c[0] : p.c[5], {{l + 1, b - 1}, {r - 1, b - 1}, {r - 1, t + 1}}},
  };
  std::vector<Segment> out;
  for (const Polyline& line : lines) {
    for (size_t i = 1; i < line.points.size(); ++i) {
      out.push_back(Segment{Point{static_cast<int16_t>(line.points[i - 1].second), static_cast<int16_t>(line.points[i - 1].first)},
                            Point{static_cast<int16_t>(line.points[i].second), static_cast<int16_t>(line.points[i].first)},
                            line.color});
    }
  }
  return out;
}

class CustomView : public ViewTest {
 protected:
  std::unique_ptr<CCustomView> MakePlate(int16_t index, bool inverse, uint16_t ridges = 0) {
    auto view = std::make_unique<CCustomView>();
    view->SetFrameRect(Rect{20, 10, 60, 110});
    view->SetEnabled(true);
    if (inverse) {
      ViewItem item;
      item.text = "!Background[('abcd' inversePlate " + std::to_string(index) + ")]";
      DescriptionParser parser(&item);
      EXPECT_TRUE(parser.ParseViewDescription());
      view->ApplyDescription(&parser);
      view->SetPlate(true, index, ridges);
    } else {
      view->SetPlate(true, index, ridges);
    }
    view->AttachPort(mPort);
    ClearLog();
    return view;
  }
};

}  // namespace

class PlateDrawing : public CustomView, public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(PlateDrawing, FaceAndBevelInThePalettesColours) {
  const int index = std::get<0>(GetParam());
  const bool inverse = std::get<1>(GetParam());
  auto view = MakePlate(static_cast<int16_t>(index), inverse);
  SetPort(mPort);
  const RGBColor before{0x1234, 0x5678, 0x9ABC};
  RGBForeColor(&before);
  view->DrawRect(nullptr);

  const PlatePalette& p = PlatePalette::Get(index);
  const auto paints = Ops(platform::DrawOp::kPaintRect);
  ASSERT_EQ(paints.size(), 1u);
  const Rect& f = view->Frame();
  const Rect face = inverse ? Rect{static_cast<int16_t>(f.top + 3), static_cast<int16_t>(f.left + 3),
                                   static_cast<int16_t>(f.bottom - 2), static_cast<int16_t>(f.right - 2)}
                            : Rect{static_cast<int16_t>(f.top + 2), static_cast<int16_t>(f.left + 2),
                                   static_cast<int16_t>(f.bottom - 3), static_cast<int16_t>(f.right - 3)};
  EXPECT_EQ(paints[0].rect, face);
  EXPECT_EQ(paints[0].fore, p.c[2]);

  const auto lines = Ops(platform::DrawOp::kLine);
  const auto expected = ExpectedBevel(f, p, inverse);
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].from, expected[i].from) << i;
    EXPECT_EQ(lines[i].to, expected[i].to) << i;
    EXPECT_EQ(lines[i].fore, expected[i].color) << i;
  }
  // The port's fore colour comes back.
  RGBColor after;
  GetForeColor(&after);
  EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(Palettes, PlateDrawing,
                         ::testing::Combine(::testing::Range(0, PlatePalette::kCount), ::testing::Bool()));

TEST(PlatePalette, TheSevenPalettes) {
  // c2 is the face of each.
  const RGBColor faces[] = {{0xAAAA, 0xAAAA, 0xAAAA}, {0xEEEE, 0xEEEE, 0xEEEE}, {0xFFFF, 0x9999, 0x9999},
                            {0x9999, 0xCCCC, 0x9999}, {0xDDDD, 0xDDDD, 0xDDDD}, {0x9999, 0xCCCC, 0xFFFF},
                            {0xCCCC, 0xCCCC, 0x6666}};
  for (int i = 0; i < PlatePalette::kCount; ++i) EXPECT_EQ(PlatePalette::Get(i).c[2], faces[i]) << i;
  EXPECT_EQ(PlatePalette::Get(6).c[5], (RGBColor{0x3333, 0x3333, 0x0000}));
  EXPECT_EQ(PlatePalette::Get(2).c[5], (RGBColor{0x6666, 0x0000, 0x0000}));
  // A description may carry any integer: outside the table means palette 0.
  EXPECT_EQ(&PlatePalette::Get(7), &PlatePalette::Get(0));
  EXPECT_EQ(&PlatePalette::Get(-1), &PlatePalette::Get(0));
}

TEST_F(CustomView, RidgesAreDrawnEveryThreePixels) {
  auto view = MakePlate(0, false, CCustomView::kHorizontalRidges);
  SetPort(mPort);
  view->DrawRect(nullptr);
  // Inside the frame less 3: (23,13)-(57,107), w 94, h 34: 11 ridges, each
  // a line across and a step up, in c0 (pass 0) and again in c3 (pass 1).
  const PlatePalette& p = PlatePalette::Get(0);
  std::vector<platform::DrawCommand> light, dark;
  for (const auto& c : Ops(platform::DrawOp::kLine)) {
    if (c.fore == p.c[0]) light.push_back(c);
    if (c.fore == p.c[3]) dark.push_back(c);
  }
  ASSERT_EQ(light.size(), 2u + 2 * 11);
  EXPECT_EQ(light[2].from, (Point{24, 14}));
  EXPECT_EQ(light[2].to, (Point{24, 14 + 92}));
  EXPECT_EQ(light[4].from, (Point{27, 14}));  // the next ridge 3 pixels down
  ASSERT_EQ(dark.size(), 4u + 2 * 11);
  EXPECT_EQ(dark[4].from, (Point{24, 13}));
}

TEST_F(CustomView, HiliteAndHighlightChooseThePalette) {
  auto view = MakePlate(3, false);
  EXPECT_EQ(view->GetPlateColorIndex(), 3);
  RGBColor back;
  view->GetBackColor(&back);
  EXPECT_EQ(back, PlatePalette::Get(3).c[2]);
  view->SetHilite(true);
  EXPECT_EQ(view->GetPlateColorIndex(), 1);
  view->GetBackColor(&back);
  EXPECT_EQ(back, PlatePalette::Get(1).c[2]);
  // Without a plate the back colour is the parent's (the root's own here).
  CCustomView plain;
  plain.GetBackColor(&back);
  EXPECT_EQ(back, (RGBColor{0x8888, 0x8888, 0x8888}));
}

TEST_F(CustomView, TheCommonGroupSetsIdAndPlate) {
  struct Case {
    const char* text;
    bool ok;
    bool plate, inverse;
    int16_t index;
  };
  for (const Case& c : {Case{"!Background[('abcd')]", true, false, false, 0},
                        Case{"!Background[('abcd' plate 5)]", true, true, false, 5},
                        Case{"!Background[('abcd' 2 inversePlate)]", true, true, true, 2},
                        Case{"!Background[('abcd' left)]", false, false, false, 0},
                        Case{"!Background[('abcd' \"x\")]", false, false, false, 0},
                        Case{"!Background[(plate 'abcd')]", false, false, false, 0},
                        Case{"!Background[()]", false, false, false, 0}}) {
    ViewItem item;
    item.text = c.text;
    DescriptionParser parser(&item);
    ASSERT_TRUE(parser.ParseViewDescription()) << c.text;
    CCustomView view;
    bool ok = true;
    try {
      view.ApplyDescription(&parser);
    } catch (const CDAEError&) {
      ok = false;
    }
    EXPECT_EQ(ok, c.ok) << c.text;
    if (!ok) continue;
    EXPECT_EQ(view.GetViewID(), FourCC("abcd")) << c.text;
    EXPECT_EQ(view.HasPlate(), c.plate) << c.text;
    EXPECT_EQ(view.IsInversePlate(), c.inverse) << c.text;
    EXPECT_EQ(view.GetStoredPlateColorIndex(), c.index) << c.text;
  }
}

TEST_F(CustomView, WithoutPatternsAPlateErasesNothingAndARootErasesInWhite) {
  EXPECT_EQ(CCustomView::SharedPatternA(), nullptr);
  EXPECT_EQ(CCustomView::SharedPatternHolders(), 0);
  CCustomView root;
  root.SetFrameRect(Rect{0, 0, 50, 50});
  root.AttachPort(mPort);
  root.DrawRect(nullptr);
  const auto erases = Ops(platform::DrawOp::kEraseRect);
  ASSERT_EQ(erases.size(), 1u);
  EXPECT_EQ(erases[0].backPattern, std::string(8, '\0'));  // white
}
