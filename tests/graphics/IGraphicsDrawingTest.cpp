#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "graphics/controls/IPanelControl.h"
#include "lice/lice.h"
#include "platform/coretext/Font.h"
#include "tests/graphics/GraphicsFixtures.h"

namespace {

constexpr LICE_pixel kClear = LICE_RGBA(1, 2, 3, 4);

LICE_pixel PixelAt(LICE_IBitmap* bitmap, int x, int y) { return bitmap->getBits()[y * bitmap->getRowSpan() + x]; }

void Fill(LICE_IBitmap* bitmap, LICE_pixel pixel) {
  for (int y = 0; y < bitmap->getHeight(); ++y) {
    for (int x = 0; x < bitmap->getWidth(); ++x) bitmap->getBits()[y * bitmap->getRowSpan() + x] = pixel;
  }
}

// Every pixel of the two bitmaps' common size, row by row.
void ExpectSamePixels(LICE_IBitmap* a, LICE_IBitmap* b) {
  ASSERT_EQ(a->getWidth(), b->getWidth());
  ASSERT_EQ(a->getHeight(), b->getHeight());
  for (int y = 0; y < a->getHeight(); ++y) {
    for (int x = 0; x < a->getWidth(); ++x) ASSERT_EQ(PixelAt(a, x, y), PixelAt(b, x, y)) << x << "," << y;
  }
}

// A control whose Draw runs the given calls, so they see the draw area.
class CallControl : public IControl {
 public:
  CallControl(IPlugBase* plug, const IRECT& rect, std::function<void(IGraphics*)> draw)
      : IControl(plug, rect), mDraw(std::move(draw)) {}
  bool Draw(IGraphics* graphics) override {
    mDraw(graphics);
    return true;
  }

 private:
  std::function<void(IGraphics*)> mDraw;
};

class Drawing : public GraphicsFixture {
 protected:
  Drawing() : reference(200, 100, 4) {
    Fill(Surface(), kClear);
    Fill(&reference, kClear);
    // Bitmap pixel (x, y) tells its own position.
    for (int y = 0; y < image.getHeight(); ++y) {
      for (int x = 0; x < image.getWidth(); ++x) image.getBits()[y * image.getRowSpan() + x] =
          LICE_RGBA(x, y & 0xff, y >> 8, 255);
    }
  }

  LICE_IBitmap* Surface() { return graphics->GetDrawBitmap(); }

  // Runs draw inside a Draw of the area, from a control covering the editor.
  void DrawIn(const IRECT& area, std::function<void(IGraphics*)> draw) {
    graphics->AttachControl(new CallControl(&plug, IRECT(0, 0, 200, 100), std::move(draw)));
    IRECT a = area;
    graphics->Draw(&a);
  }

  IBitmap Frames(int n, bool horizontal) {
    IBitmap b;
    b.mW = image.getWidth();
    b.mH = image.getHeight();
    b.mData = &image;
    b.mN = n;
    b.mFramesAreHorizontal = horizontal;
    return b;
  }

  LICE_MemBitmap image{40, 400, 4};
  LICE_MemBitmap reference;
};

TEST_F(Drawing, TheSurfaceHasTheEditorsSize) {
  ASSERT_NE(Surface(), nullptr);
  EXPECT_EQ(Surface()->getWidth(), 200);
  EXPECT_EQ(Surface()->getHeight(), 100);
}

TEST_F(Drawing, ABitmapClippedByTheDrawAreaStaysWhereItWouldHaveBeen) {
  IBitmap bitmap = Frames(1, false);
  IRECT dest(-10, 5, 30, 45);
  const IChannelBlend exact(IChannelBlend::kBlendClobber);
  const IRECT area(0, 0, 20, 100);
  DrawIn(area, [&](IGraphics* g) { g->DrawBitmap(&bitmap, &dest, 3, 4, &exact); });
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) {
      const bool inside = x >= 0 && x < 20 && y >= 5 && y < 45;
      const LICE_pixel want = inside ? PixelAt(&image, 3 + x - dest.L, 4 + y - dest.T) : kClear;
      ASSERT_EQ(PixelAt(Surface(), x, y), want) << x << "," << y;
    }
  }
}

TEST_F(Drawing, NothingIsBlittedOutsideADraw) {
  IBitmap bitmap = Frames(1, false);
  IRECT dest(0, 0, 40, 40);
  graphics->DrawBitmap(&bitmap, &dest, 0, 0);  // the draw area is still empty
  EXPECT_EQ(PixelAt(Surface(), 0, 0), kClear);
  // A bitmap that failed to load draws nothing either.
  IBitmap missing;
  DrawIn(IRECT(0, 0, 200, 100), [&](IGraphics* g) { EXPECT_TRUE(g->DrawBitmapFrame(&missing, &dest, 2)); });
  EXPECT_EQ(PixelAt(Surface(), 0, 0), kClear);
}

struct FrameCase {
  int n;
  bool horizontal;
  int frame;
  int srcX, srcY;
};

class DrawingFrame : public Drawing, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(DrawingFrame, FramesStartAlongTheirAxis) {
  const FrameCase c = GetParam();
  IBitmap bitmap = Frames(c.n, c.horizontal);
  IRECT dest(50, 10, 60, 30);
  const IChannelBlend exact(IChannelBlend::kBlendClobber);
  DrawIn(IRECT(0, 0, 200, 100), [&](IGraphics* g) { g->DrawBitmapFrame(&bitmap, &dest, c.frame, &exact); });
  for (int y = dest.T; y < dest.B; ++y) {
    for (int x = dest.L; x < dest.R; ++x) {
      ASSERT_EQ(PixelAt(Surface(), x, y), PixelAt(&image, c.srcX + x - dest.L, c.srcY + y - dest.T)) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Frames, DrawingFrame,
                         ::testing::Values(FrameCase{4, false, 3, 0, 200}, FrameCase{4, false, 1, 0, 0},
                                           FrameCase{1, false, 3, 0, 0}, FrameCase{4, true, 2, 10, 0},
                                           // 2 x 400 / 3 = 266.67: the offset is rounded.
                                           FrameCase{3, false, 3, 0, 267}));

// Each panel that meets the area paints its part inside the area and
// nothing beyond it, where controls that were not redrawn may lie.
TEST_F(Drawing, DrawPaintsTheControlsThatMeetTheAreaOnlyInsideIt) {
  const struct {
    IRECT rect;
    IColor color;
  } panels[] = {{IRECT(0, 0, 100, 50), IColor(255, 200, 0, 0)},
                {IRECT(60, 20, 140, 80), IColor(255, 0, 200, 0)},
                {IRECT(150, 0, 200, 100), IColor(255, 0, 0, 200)},  // misses the area
                {IRECT(80, 40, 120, 60), IColor(255, 9, 9, 9)}};
  for (const auto& p : panels) graphics->AttachControl(new IPanelControl(&plug, IRECTResize::Scaled(p.rect), p.color));
  IRECT area(90, 30, 130, 70);
  graphics->Draw(&area);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) {
      LICE_pixel want = kClear;
      for (const auto& p : panels) {
        if (area.Contains(x, y) && p.rect.Contains(x, y)) want = p.color.ToPixel();
      }
      ASSERT_EQ(PixelAt(Surface(), x, y), want) << x << "," << y;
    }
  }
}

// Every drawing call made inside a Draw changes the pixels of the area
// exactly as it would drawn whole, and none outside it, wherever the area
// cuts it: antialiased edges, blends over a patterned surface, text.
TEST_F(Drawing, ACallInsideADrawPaintsItsAreaAsDrawnWholeAndNothingElse) {
  platform::SetTestFontEnabled(true);
  const IColor solid(255, 250, 40, 10), faint(90, 20, 200, 120);
  const IChannelBlend half(IChannelBlend::kBlendNone, 0.5f), add(IChannelBlend::kBlendAdd, 0.7f);
  IText text(14, IColor(255, 5, 6, 7), "Verdana");
  const struct {
    const char* what;
    std::function<void(IGraphics*)> call;
  } calls[] = {
      {"float line", [&](IGraphics* g) { g->DrawLineFloat(&solid, 12.3f, 80.6f, 180.2f, 7.7f, &half, true); }},
      {"line", [&](IGraphics* g) { g->DrawLine(&solid, 5.0f, 5.0f, 190.0f, 95.0f, &add, true); }},
      {"alpha line", [&](IGraphics* g) { g->DrawLineColorAlpha(&faint, 150.0f, 2.0f, 20.0f, 97.0f, nullptr, true); }},
      {"disc", [&](IGraphics* g) { g->FillCircle(&faint, 100, 50, 37.5f, &half, true); }},
      {"triangle", [&](IGraphics* g) { g->FillTriangle(&solid, 3, 90, 100, 4, 197, 70, &half); }},
      {"round rect",
       [&](IGraphics* g) {
         const IRECT r(20, 15, 180, 85);
         g->FillRoundRect(&faint, &r, &add, 12, true);
       }},
      {"fill",
       [&](IGraphics* g) {
         const IRECT r(30, -10, 170, 60);
         g->FillIRect(&faint, &r, &half);
       }},
      {"text",
       [&](IGraphics* g) {
         IRECT r(40, 30, 160, 70);
         g->DrawIText(&text, "Partial 1234 redraw", &r);
       }},
  };
  const IRECT areas[] = {IRECT(0, 0, 200, 100), IRECT(60, 25, 130, 75), IRECT(0, 40, 200, 52),
                         IRECT(101, 0, 102, 100), IRECT(150, 60, 200, 100)};
  std::function<void(IGraphics*)> draw;
  graphics->AttachControl(new CallControl(&plug, IRECT(0, 0, 200, 100), [&](IGraphics* g) { draw(g); }));
  const auto pattern = [](LICE_IBitmap* b) {
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 200; ++x) b->getBits()[y * b->getRowSpan() + x] = LICE_RGBA(x, y * 2, (x * y) & 0xff, 200);
    }
  };
  for (const auto& c : calls) {
    // Drawn whole, outside any Draw.
    pattern(Surface());
    c.call(graphics);
    LICE_Blit(&reference, Surface(), 0, 0, 0, 0, 200, 100, 1.0f, LICE_BLIT_MODE_COPY);
    for (const IRECT& area : areas) {
      pattern(Surface());
      draw = c.call;
      IRECT a = area;
      graphics->Draw(&a);
      for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
          const LICE_pixel before = LICE_RGBA(x, y * 2, (x * y) & 0xff, 200);
          const LICE_pixel want = area.Contains(x, y) ? PixelAt(&reference, x, y) : before;
          ASSERT_EQ(PixelAt(Surface(), x, y), want) << c.what << " in " << area.L << "," << area.T << " at " << x
                                                    << "," << y;
        }
      }
    }
    // The call changed something, or the comparison proves nothing.
    pattern(Surface());
    bool changed = false;
    for (int y = 0; y < 100 && !changed; ++y) {
      for (int x = 0; x < 200; ++x) changed = changed || PixelAt(&reference, x, y) != PixelAt(Surface(), x, y);
    }
    EXPECT_TRUE(changed) << c.what;
  }
  platform::SetTestFontEnabled(false);
}

TEST_F(Drawing, BlendMethodsAndWeightsReachTheFill) {
  const IRECT one(0, 0, 1, 1);
  const LICE_pixel background = LICE_RGBA(100, 100, 100, 100);
  // Add at half weight: each channel d + c x 128 / 256, clamped.
  Fill(Surface(), background);
  const IChannelBlend add(IChannelBlend::kBlendAdd, 0.5f);
  const IColor colour(255, 200, 10, 0);
  graphics->FillIRect(&colour, &one, &add);
  EXPECT_EQ(PixelAt(Surface(), 0, 0), LICE_RGBA(200, 105, 100, 227));

  // A transparent colour paints only with method 1, which ignores alpha;
  // method 0 copies with source alpha like no blend at all.
  const IColor clear(0, 10, 20, 30);
  for (int method : {0, 1}) {
    Fill(Surface(), background);
    const IChannelBlend blend(method);
    graphics->FillIRect(&clear, &one, &blend);
    EXPECT_EQ(PixelAt(Surface(), 0, 0), method == 1 ? clear.ToPixel() : background) << method;
  }
  Fill(Surface(), background);
  graphics->FillIRect(&clear, &one, nullptr);
  EXPECT_EQ(PixelAt(Surface(), 0, 0), background);
}

TEST_F(Drawing, LinesTruncateTheirEndPointsAndTakeTheirAlpha) {
  const IColor colour(255, 250, 40, 10);
  graphics->DrawLine(&colour, 10.9f, 5.2f, -0.7f, 3.99f);
  LICE_DrawLine(&reference, 10, 5, 0, 3, colour.ToPixel(), 1.0f, 0x10000, false);
  ExpectSamePixels(Surface(), &reference);
  EXPECT_EQ(PixelAt(Surface(), 10, 5), colour.ToPixel());
  EXPECT_EQ(PixelAt(Surface(), 0, 3), colour.ToPixel());

  // Alpha 51 is a weight of 0.2 whatever the blend's weight.
  const IColor faint(51, 250, 40, 10);
  const IChannelBlend heavy(IChannelBlend::kBlendNone, 0.9f);
  graphics->DrawLineColorAlpha(&faint, 20.0f, 20.0f, 90.0f, 60.0f, &heavy);
  LICE_DrawLine(&reference, 20, 20, 90, 60, faint.ToPixel(), 0.2f, 0x10000, false);
  ExpectSamePixels(Surface(), &reference);
  EXPECT_NE(PixelAt(Surface(), 20, 20), kClear);

  graphics->DrawLineFloat(&colour, 100.25f, 10.5f, 180.75f, 70.125f, nullptr, true);
  LICE_DrawLineFloat(&reference, 100.25f, 10.5f, 180.75f, 70.125f, colour.ToPixel(), 1.0f, 0x10000, true);
  ExpectSamePixels(Surface(), &reference);
}

TEST_F(Drawing, ARoundedRectangleIsThreeFillsAndFourDiscs) {
  const IColor colour(255, 30, 60, 90);
  const IRECT r(10, 10, 50, 30);
  const IChannelBlend half(IChannelBlend::kBlendNone, 0.5f);
  graphics->FillRoundRect(&colour, &r, &half, 4, true);
  const LICE_pixel c = colour.ToPixel();
  LICE_FillRect(&reference, 14, 10, 32, 20, c, 0.5f, 0x10000);
  LICE_FillRect(&reference, 10, 14, 4, 12, c, 0.5f, 0x10000);
  LICE_FillRect(&reference, 46, 14, 4, 12, c, 0.5f, 0x10000);
  LICE_FillCircle(&reference, 14.0f, 14.0f, 4.0f, c, 0.5f, 0x10000, true);
  LICE_FillCircle(&reference, 45.0f, 25.0f, 4.0f, c, 0.5f, 0x10000, true);
  LICE_FillCircle(&reference, 45.0f, 14.0f, 4.0f, c, 0.5f, 0x10000, true);
  LICE_FillCircle(&reference, 14.0f, 25.0f, 4.0f, c, 0.5f, 0x10000, true);
  ExpectSamePixels(Surface(), &reference);
  // The corners stay open and the middle is covered.
  EXPECT_EQ(PixelAt(Surface(), 10, 10), kClear);
  EXPECT_NE(PixelAt(Surface(), 30, 20), kClear);
}

TEST_F(Drawing, CirclesAndTriangles) {
  const IColor colour(255, 255, 255, 255);
  graphics->FillCircle(&colour, 20, 30, 7.5f, nullptr, true);
  LICE_FillCircle(&reference, 20.0f, 30.0f, 7.5f, colour.ToPixel(), 1.0f, 0x10000, true);
  ExpectSamePixels(Surface(), &reference);
  EXPECT_EQ(PixelAt(Surface(), 20, 30), colour.ToPixel());
  EXPECT_EQ(PixelAt(Surface(), 20, 40), kClear);

  // Rows 0..4 of this triangle hold 5, 4, 3, 2, 1 pixels from column 100.
  Fill(Surface(), kClear);
  graphics->FillTriangle(&colour, 100, 0, 104, 0, 100, 4);
  for (int y = 0; y < 6; ++y) {
    for (int x = 98; x < 107; ++x) {
      const bool inside = y < 5 && x >= 100 && x < 100 + 5 - y;
      EXPECT_EQ(PixelAt(Surface(), x, y), inside ? colour.ToPixel() : kClear) << x << "," << y;
    }
  }
}

}  // namespace
