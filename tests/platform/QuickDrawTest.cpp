#include "platform/quickdraw/QuickDraw.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "platform/carboncore/MacMemory.h"
#include "platform/quickdraw/DrawLog.h"

namespace {

// Regions checked against a pixel mask over a small grid.
constexpr int kGrid = 24;
typedef std::vector<bool> Mask;

Mask MaskOf(const std::vector<Rect>& rects) {
  Mask m(kGrid * kGrid, false);
  for (const Rect& r : rects) {
    for (int v = r.top; v < r.bottom; ++v) {
      for (int h = r.left; h < r.right; ++h) m[v * kGrid + h] = true;
    }
  }
  return m;
}

Rect RandomRect(std::mt19937& rng) {
  std::uniform_int_distribution<int> d(0, kGrid);
  int a = d(rng), b = d(rng), c = d(rng), e = d(rng);
  if (a > b) std::swap(a, b);
  if (c > e) std::swap(c, e);
  return Rect{static_cast<int16_t>(a), static_cast<int16_t>(c), static_cast<int16_t>(b), static_cast<int16_t>(e)};
}

void ExpectRegionIs(RgnHandle rgn, const Mask& expected) {
  long area = 0;
  for (int v = 0; v < kGrid; ++v) {
    for (int h = 0; h < kGrid; ++h) {
      const bool in = PtInRgn(Point{static_cast<int16_t>(v), static_cast<int16_t>(h)}, rgn);
      ASSERT_EQ(in, expected[v * kGrid + h]) << v << "," << h;
      area += in;
    }
  }
  // Disjoint rectangles: their areas add up to the region's.
  EXPECT_EQ(platform::RegionArea(rgn), area);
}

}  // namespace

TEST(QuickDrawRegions, UnionDifferenceAndIntersectionMatchPixelMasks) {
  std::mt19937 rng(1234);
  RgnHandle a = NewRgn(), b = NewRgn(), out = NewRgn(), piece = NewRgn();
  for (int round = 0; round < 200; ++round) {
    std::vector<Rect> ra, rb;
    SetEmptyRgn(a);
    SetEmptyRgn(b);
    for (int i = 0; i < 3; ++i) {
      ra.push_back(RandomRect(rng));
      rb.push_back(RandomRect(rng));
      RectRgn(piece, &ra.back());
      UnionRgn(a, piece, a);
      RectRgn(piece, &rb.back());
      UnionRgn(b, piece, b);
    }
    const Mask ma = MaskOf(ra), mb = MaskOf(rb);
    Mask both(ma.size()), either(ma.size()), less(ma.size());
    for (size_t i = 0; i < ma.size(); ++i) {
      both[i] = ma[i] && mb[i];
      either[i] = ma[i] || mb[i];
      less[i] = ma[i] && !mb[i];
    }
    ExpectRegionIs(a, ma);
    UnionRgn(a, b, out);
    ExpectRegionIs(out, either);
    SectRgn(a, b, out);
    ExpectRegionIs(out, both);
    DiffRgn(a, b, out);
    ExpectRegionIs(out, less);
    CopyRgn(a, out);
    DiffRgn(out, out, out);  // the destination may be an operand
    EXPECT_TRUE(EmptyRgn(out));
  }
  Rect bounds;
  SetRectRgn(out, 3, 4, 10, 8);
  OffsetRgn(out, 2, 1);
  GetRegionBounds(out, &bounds);
  EXPECT_EQ(bounds, (Rect{5, 5, 9, 12}));
  DisposeRgn(a);
  DisposeRgn(b);
  DisposeRgn(out);
  DisposeRgn(piece);
}

TEST(QuickDrawRects, SectUnionAndInset) {
  const Rect a{0, 0, 10, 10}, b{5, 5, 20, 20}, far{30, 30, 40, 40};
  Rect r;
  EXPECT_TRUE(SectRect(&a, &b, &r));
  EXPECT_EQ(r, (Rect{5, 5, 10, 10}));
  EXPECT_FALSE(SectRect(&a, &far, &r));
  EXPECT_EQ(r, (Rect{0, 0, 0, 0}));
  const Rect touching{10, 0, 20, 10};  // shares only an edge
  EXPECT_FALSE(SectRect(&a, &touching, &r));
  UnionRect(&a, &far, &r);
  EXPECT_EQ(r, (Rect{0, 0, 40, 40}));
  r = a;
  InsetRect(&r, 6, 6);
  EXPECT_TRUE(EmptyRect(&r));
  EXPECT_FALSE(PtInRect(Point{10, 5}, &a));
  EXPECT_TRUE(PtInRect(Point{9, 9}, &a));
  // Offsets wrap at 16 bits and so undo exactly.
  r = Rect{0, 30000, 10, 32000};
  OffsetRect(&r, 16384, 0);
  OffsetRect(&r, -16384, 0);
  EXPECT_EQ(r, (Rect{0, 30000, 10, 32000}));
}

TEST(QuickDrawRects, AnglesRunClockwiseFromTheTopScaledToTheRect) {
  const Rect square{0, 0, 100, 100};
  const Rect wide{0, 0, 100, 400};
  struct Case {
    const Rect* r;
    Point pt;
    int16_t degrees;
  };
  const Case cases[] = {
      {&square, {0, 50}, 0},    {&square, {50, 100}, 90}, {&square, {100, 50}, 180}, {&square, {50, 0}, 270},
      {&square, {0, 100}, 45},  {&wide, {0, 400}, 45},    {&wide, {100, 0}, 225},
  };
  for (const Case& c : cases) {
    int16_t angle = -1;
    PtToAngle(c.r, c.pt, &angle);
    EXPECT_EQ(angle, c.degrees) << c.pt.h << "," << c.pt.v;
  }
  int16_t centre = -1;
  PtToAngle(&square, Point{50, 50}, &centre);
  EXPECT_EQ(centre, 0);
}

TEST(QuickDrawPorts, DrawingIsLoggedWithThePortsState) {
  GrafPtr port = platform::NewStandInPort(100, 50, Point{200, 300});
  SetPort(port);
  const RGBColor red{0xFFFF, 0, 0}, grey{0x8888, 0x8888, 0x8888};
  RGBForeColor(&red);
  RGBBackColor(&grey);
  PenSize(2, 3);
  const Rect clip{0, 0, 20, 20};
  ClipRect(&clip);
  MoveTo(1, 2);
  LineTo(5, 6);
  Line(1, 1);
  TextFont(3);
  TextSize(9);
  TextFace(bold);
  DrawString(reinterpret_cast<const unsigned char*>("\3abc"));
  Point pen;
  GetPen(&pen);
  EXPECT_EQ(pen, (Point{7, 6 + 3 * 5}));  // 9-point bold: 5 pixels a character
  const auto& log = platform::PortLog(port);
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].op, platform::DrawOp::kLine);
  EXPECT_EQ(log[0].from, (Point{2, 1}));
  EXPECT_EQ(log[0].to, (Point{6, 5}));
  EXPECT_EQ(log[0].fore, red);
  EXPECT_EQ(log[0].back, grey);
  EXPECT_EQ(log[0].penSize, (Point{3, 2}));
  EXPECT_EQ(log[0].clip, (std::vector<Rect>{clip}));
  EXPECT_EQ(log[1].from, (Point{6, 5}));
  EXPECT_EQ(log[2].text, "abc");
  EXPECT_EQ(log[2].textFace, bold);
  FontInfo info;
  GetFontInfo(&info);
  EXPECT_EQ(info.ascent, 7);
  EXPECT_EQ(info.descent, 2);
  EXPECT_EQ(info.leading, 1);

  // Moving the origin moves local coordinates against the screen.
  SetOrigin(10, 20);
  Rect bounds;
  GetPortBounds(port, &bounds);
  EXPECT_EQ(bounds, (Rect{20, 10, 70, 110}));
  Point p{20, 10};
  LocalToGlobal(&p);
  EXPECT_EQ(p, (Point{200, 300}));  // the port's top-left on the screen
  GlobalToLocal(&p);
  EXPECT_EQ(p, (Point{20, 10}));
  EXPECT_EQ(platform::ClipRects(port), (std::vector<Rect>{clip}));  // the clip stays in local coordinates
  platform::DisposeStandInPort(port);
  EXPECT_EQ(GetPort(), nullptr);
}

TEST(QuickDrawPorts, BackPatternsAreCopiedInAndOut) {
  GrafPtr port = platform::NewStandInPort(10, 10);
  SetPort(port);
  const std::string data = "a pixel pattern's data";
  PixPatHandle pattern = NewPixPat();
  SetHandleSize(reinterpret_cast<Handle>(pattern), static_cast<Size>(data.size()));
  std::memcpy(*reinterpret_cast<Handle>(pattern), data.data(), data.size());
  PixPatHandle saved = NewPixPat();
  GetPortBackPixPat(port, saved);
  EXPECT_EQ(GetHandleSize(reinterpret_cast<Handle>(saved)), 8);  // the white pattern's bytes
  SetPortBackPixPat(port, pattern);
  DisposePixPat(pattern);  // the port keeps its own copy
  const Rect r{0, 0, 5, 5};
  EraseRect(&r);
  SetPortBackPixPat(port, saved);
  EraseRect(&r);
  Pattern black;
  BackPat(GetQDGlobalsBlack(&black));
  EraseRect(&r);
  const auto& log = platform::PortLog(port);
  ASSERT_EQ(log.size(), 3u);
  EXPECT_TRUE(log[0].backIsPixPat);
  EXPECT_EQ(log[0].backPattern, data);
  EXPECT_EQ(log[1].backPattern, std::string(8, '\0'));
  EXPECT_FALSE(log[2].backIsPixPat);
  EXPECT_EQ(log[2].backPattern, std::string(8, '\xFF'));
  DisposePixPat(saved);
  platform::DisposeStandInPort(port);
}

TEST(QuickDrawPorts, ScrollingReportsTheUncoveredArea) {
  GrafPtr port = platform::NewStandInPort(100, 100);
  SetPort(port);
  RgnHandle update = NewRgn();
  const Rect r{0, 0, 50, 80};
  ScrollRect(&r, 0, -10, update);
  Rect bounds;
  GetRegionBounds(update, &bounds);
  EXPECT_EQ(bounds, (Rect{40, 0, 50, 80}));
  EXPECT_EQ(platform::RegionArea(update), 10 * 80);
  ASSERT_EQ(platform::PortLog(port).size(), 1u);
  EXPECT_EQ(platform::PortLog(port)[0].dv, -10);
  // Polygons collect their points while open.
  PolyHandle poly = OpenPoly();
  MoveTo(0, 0);
  LineTo(10, 0);
  LineTo(5, 5);
  ClosePoly();
  PaintPoly(poly);
  KillPoly(poly);
  ASSERT_EQ(platform::PortLog(port).size(), 2u);
  EXPECT_EQ(platform::PortLog(port)[1].points.size(), 3u);
  DisposeRgn(update);
  platform::DisposeStandInPort(port);
}
