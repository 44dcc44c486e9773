#include "graphics/controls/IBitmapControlClick1.h"

#include <limits>

#include "tests/graphics/controls/ControlsFixture.h"

namespace {

constexpr LICE_pixel kBackground = LICE_RGBA(90, 80, 70, 255);

// A level bar whose bar is the positions bitmap (40 x 400) and whose
// background is one colour of the same size.
class LevelBar : public ControlsFixture {
 protected:
  LevelBar() {
    graphics->mLoadResource = [](int id, const char*) -> LICE_IBitmap* {
      if (id != 3) return MakeResource(id);
      auto* b = new LICE_MemBitmap(kPositionsW, kPositionsH, 4);
      LICE_FillRect(b, 0, 0, kPositionsW, kPositionsH, kBackground, 1.0f, 0);
      return b;
    };
    bar = graphics->LoadBitmap(kPositions, "bar.png");
    background = graphics->LoadBitmap(3, "background.png");
    meter = Attach(new IBitmapControlClick1(&plug, 10, 20, &bar, ControlsTestPlug::kTag, &background));
  }

  // The background over the control, and rows [from, to) of the bar over
  // the same rows of the control.
  std::vector<LICE_pixel> Expected(int from, int to) const {
    std::vector<LICE_pixel> pixels(kWidth * kHeight, kClear);
    for (int y = 0; y < kPositionsH; ++y) {
      for (int x = 0; x < kPositionsW; ++x) {
        pixels[(20 + y) * kWidth + 10 + x] = y >= from && y < to ? PositionPixel(x, y) : kBackground;
      }
    }
    return pixels;
  }

  IBitmap bar, background;
  IBitmapControlClick1* meter;
};

TEST_F(LevelBar, AClickTellsThePlugin) {
  EXPECT_EQ(meter->GetRECT(), IRECT(10, 20, 50, 420));
  EXPECT_TRUE(meter->GetFromBottom());
  Click(20, 200);
  EXPECT_EQ(plug.mTags, std::vector<int>{ControlsTestPlug::kTag});
}

TEST_F(LevelBar, FromTheBottomTheLevelShowsTheBarsLowestPart) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  // The bar's rows from trunc(400 x (1 - value)) down; outside 0..1 the
  // value counts as its end, a NaN as empty.
  const struct {
    double value;
    int from;
  } rows[] = {{0.25, 300}, {1.0, 0}, {0.0, 400}, {0.3337, 266}, {1.5, 0}, {-0.5, 400}, {nan, 400}};
  for (const auto& r : rows) {
    meter->SetValueFromPlug(r.value);
    EXPECT_TRUE(SamePicture(Drawn(), Expected(r.from, 400), kWidth)) << r.value;
  }
}

TEST_F(LevelBar, FromTheTopTheLevelShowsTheBarsTopPart) {
  meter->SetFromBottom(false);
  const struct {
    double value;
    int to;
  } rows[] = {{0.25, 100}, {1.0, 400}, {0.0, 0}, {0.3337, 133}, {2.0, 400}};
  for (const auto& r : rows) {
    meter->SetValueFromPlug(r.value);
    EXPECT_TRUE(SamePicture(Drawn(), Expected(0, r.to), kWidth)) << r.value;
  }
}

}  // namespace
