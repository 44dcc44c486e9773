#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lice/lice.h"
#include "tests/graphics/GraphicsFixtures.h"

namespace {

class Bitmaps : public GraphicsFixture {
 protected:
  Bitmaps() {
    graphics->SetBitmapScale(2.0, 2.0);
    // Resource 1 is a 20 x 10 image of one colour; every other one is missing.
    graphics->mLoadResource = [](int id, const char*) -> LICE_IBitmap* {
      if (id != 1) return nullptr;
      auto* b = new LICE_MemBitmap(20, 10, 4);
      LICE_FillRect(b, 0, 0, 20, 10, LICE_RGBA(10, 200, 30, 255), 1.0f, 0);
      return b;
    };
  }
};

TEST_F(Bitmaps, AnImageIsLoadedOncePerIdentifierAndShared) {
  const IBitmap a = graphics->LoadBitmap(1, "resources/img/knob.png", 4, true);
  const IBitmap b = graphics->LoadBitmap(1, "resources/img/knob.png");
  EXPECT_EQ(graphics->mResourceLoads, std::vector<int>{1});
  ASSERT_NE(a.mData, nullptr);
  EXPECT_EQ(a.mData, b.mData);
  EXPECT_EQ(a.mW, 20);
  EXPECT_EQ(a.mH, 10);
  EXPECT_EQ(a.mN, 4);
  EXPECT_TRUE(a.mFramesAreHorizontal);
  EXPECT_EQ(a.mResourceID, 1);
  EXPECT_EQ(a.mScaleX, 2.0);
  EXPECT_EQ(b.mN, 1);
  // A frame count below 1 counts as one frame.
  EXPECT_EQ(graphics->LoadBitmap(1, "resources/img/knob.png", 0).mN, 1);
}

TEST_F(Bitmaps, AMissingImageIsEmptyAndTriedAgainNextTime) {
  const IBitmap missing = graphics->LoadBitmap(7, "resources/img/gone.png", 3);
  EXPECT_EQ(missing.mData, nullptr);
  EXPECT_EQ(missing.mW, 0);
  EXPECT_EQ(missing.mH, 0);
  EXPECT_EQ(missing.mN, 3);
  EXPECT_EQ(missing.mResourceID, 7);
  graphics->LoadBitmap(7, "resources/img/gone.png");
  EXPECT_EQ(graphics->mResourceLoads, (std::vector<int>{7, 7}));

  const IBitmap scaled = graphics->ScaleBitmap(&missing, 30, 30);
  EXPECT_EQ(scaled.mData, nullptr);
  EXPECT_EQ(scaled.mW, 0);
  EXPECT_EQ(scaled.mN, 3);
}

// An image that names its size but has no pixels: one whose body could
// not be decoded when it was first asked for them.
class SizeWithoutPixels : public LICE_IBitmap {
 public:
  LICE_pixel* getBits() override { return nullptr; }
  int getWidth() const override { return 20; }
  int getHeight() const override { return 10; }
  int getRowSpan() const override { return 0; }
  bool isFlipped() const override { return false; }
  bool resize(int, int) override { return false; }
  DrawContext* getDC() override { return nullptr; }
  int Extended(int, void*) override { return 0; }
};

TEST_F(Bitmaps, AnImageWithoutPixelsHasNoScaledCopy) {
  graphics->mLoadResource = [](int, const char*) -> LICE_IBitmap* { return new SizeWithoutPixels; };
  const IBitmap source = graphics->LoadBitmap(3, "resources/img/broken.png", 2);
  ASSERT_NE(source.mData, nullptr);
  // A copy would be a block of whatever the allocator left there.
  const IBitmap scaled = graphics->ScaleBitmap(&source, 30, 30);
  EXPECT_EQ(scaled.mData, nullptr);
  EXPECT_EQ(scaled.mW, 0);
  EXPECT_EQ(scaled.mH, 0);
  EXPECT_EQ(scaled.mN, 2);
}

TEST_F(Bitmaps, ScaledCopiesAreSharedPerIdentifierAndSize) {
  const IBitmap source = graphics->LoadBitmap(1, "resources/img/knob.png", 2, false);
  const IBitmap big = graphics->ScaleBitmap(&source, 40, 20);
  const IBitmap again = graphics->ScaleBitmap(&source, 40, 20);
  const IBitmap small = graphics->ScaleBitmap(&source, 10, 5);
  ASSERT_NE(big.mData, nullptr);
  EXPECT_EQ(big.mData, again.mData);
  EXPECT_NE(small.mData, big.mData);
  EXPECT_EQ(big.mW, 40);
  EXPECT_EQ(big.mH, 20);
  EXPECT_EQ(small.mW, 10);
  EXPECT_EQ(small.mH, 5);
  EXPECT_EQ(big.mN, 2);
  EXPECT_EQ(big.mResourceID, 1);
  // One colour scales to the same colour everywhere.
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) {
      ASSERT_EQ(big.mData->getBits()[y * big.mData->getRowSpan() + x], LICE_RGBA(10, 200, 30, 255)) << x << "," << y;
    }
  }

  graphics->ClearScaledBitmapCache();
  const IBitmap remade = graphics->ScaleBitmap(&source, 40, 20);
  ASSERT_NE(remade.mData, nullptr);
  EXPECT_EQ(remade.mW, 40);
  // The loaded image is untouched by the clear.
  EXPECT_EQ(graphics->LoadBitmap(1, "resources/img/knob.png").mData, source.mData);
  EXPECT_EQ(graphics->mResourceLoads, std::vector<int>{1});

  EXPECT_EQ(graphics->ScaleBitmap(&source, 0, 20).mData, nullptr);
  EXPECT_EQ(graphics->ScaleBitmap(nullptr, 10, 10).mData, nullptr);
}

}  // namespace
