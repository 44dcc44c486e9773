#include "platform/windowserver/ScreenWindow.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/windowserver/Backend.h"
#include "platform/windowserver/HeadlessBackend.h"

namespace {

// A 3 x 2 image whose pixel (x, y) has red 10 x + 1 and green 10 y + 1.
std::vector<uint8_t> Image(int rowSpan = 3) {
  std::vector<uint8_t> pixels(static_cast<size_t>(rowSpan) * 2 * 4, 0);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      uint8_t* p = &pixels[(static_cast<size_t>(y) * rowSpan + x) * 4];
      p[0] = 99;  // ignored
      p[1] = static_cast<uint8_t>(10 * x + 1);
      p[2] = static_cast<uint8_t>(10 * y + 1);
      p[3] = 7;
    }
  }
  return pixels;
}

struct Pixel {
  int red, green;
};

Pixel At(const platform::ScreenWindow& w, int x, int y) {
  uint8_t rgb[3];
  w.PixelRGB(x, y, rgb);
  return Pixel{rgb[0], rgb[1]};
}

TEST(ScreenWindow, DeviceScaleSetsThePixelsAndScaledImagesSampleNearestPixel) {
  platform::ScreenWindow w(platform::ScreenRect{0, 0, 6, 4});
  w.SetDeviceScale(1.5);
  EXPECT_EQ(w.PixelWidth(), 9);
  EXPECT_EQ(w.PixelHeight(), 6);
  const std::vector<uint8_t> image = Image(4);
  w.DrawImage(image.data(), 3, 2, 4, 0, 0, 9, 6, platform::DeviceRect{0, 0, 9, 6});
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 9; ++x) {
      // Pixel centres: image x = floor((x + 0.5) / 3), y = floor((y + 0.5) / 3).
      const int ix = (2 * x + 1) / 6, iy = (2 * y + 1) / 6;
      EXPECT_EQ(At(w, x, y).red, 10 * ix + 1) << x << "," << y;
      EXPECT_EQ(At(w, x, y).green, 10 * iy + 1) << x << "," << y;
    }
  }
  EXPECT_EQ(w.PresentCount(), 1);
}

// Frames and scales no screen has: a scale that is not a finite positive
// number is refused; the pixels stop at the limit a side, however large
// the frame or the scale, and an image drawn over them is clipped there.
TEST(ScreenWindow, HostileSizesAndScalesKeepThePixelsBounded) {
  constexpr int kMax = platform::ScreenWindow::kMaxPixelExtent;
  EXPECT_LE(static_cast<double>(kMax) * kMax * 4, 256.0 * 1024 * 1024);
  EXPECT_GE(kMax, 2 * 1744);  // the editor at 200 % on a screen of two pixels a point

  platform::ScreenWindow w(platform::ScreenRect{0, 0, 6, 4});
  for (double scale : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity()}) {
    w.SetDeviceScale(scale);
    EXPECT_EQ(w.DeviceScale(), 1.0) << scale;
    EXPECT_EQ(w.PixelWidth(), 6) << scale;
    EXPECT_EQ(w.PixelHeight(), 4) << scale;
  }
  w.SetDeviceScale(1e6);
  EXPECT_EQ(w.DeviceScale(), 1e6);
  EXPECT_EQ(w.PixelWidth(), kMax);
  EXPECT_EQ(w.PixelHeight(), kMax);
  w.SetDeviceScale(2.0);
  EXPECT_EQ(w.PixelWidth(), 12);
  EXPECT_EQ(w.PixelHeight(), 8);

  struct Case {
    double width, height;
    int pixelWidth, pixelHeight;
  };
  for (const Case& c : {Case{1e6, 1e6, kMax, kMax}, Case{65535, 3, kMax, 3}, Case{kMax + 0.5, 1, kMax, 1},
                        Case{std::numeric_limits<double>::infinity(), 2, kMax, 2}, Case{0, 5, 0, 5},
                        Case{-10, 5, 0, 5}, Case{std::numeric_limits<double>::quiet_NaN(), 5, 0, 5}}) {
    platform::ScreenWindow big(platform::ScreenRect{0, 0, c.width, c.height});
    EXPECT_EQ(big.PixelWidth(), c.pixelWidth) << c.width;
    EXPECT_EQ(big.PixelHeight(), c.pixelHeight) << c.width;
    EXPECT_EQ(big.RowBytes(), static_cast<size_t>(c.pixelWidth) * 4);
  }

  platform::ScreenWindow wide(platform::ScreenRect{0, 0, 1e5, 2});
  const std::vector<uint8_t> image = Image();
  wide.DrawImage(image.data(), 3, 2, 3, 0, 0, 3e4, 2, platform::DeviceRect{0, 0, 1 << 30, 2});
  EXPECT_EQ(At(wide, kMax - 1, 0).red, 1 + 10 * ((kMax - 1) * 3 / 30000));
  EXPECT_EQ(At(wide, kMax, 0).red, 0);  // outside
}

// Corners at an infinite distance or not numbers at all: nothing is drawn.
TEST(ScreenWindow, ImagesWithCornersThatAreNoPointsDrawNothing) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<uint8_t> image = Image();
  const double corners[][4] = {{-inf, 0, 4, 4}, {0, 0, inf, 4},  {-inf, 0, inf, 4}, {0, -inf, 4, 4},
                               {0, 4, 4, -inf}, {inf, 0, 0, 4}, {nan, 0, 4, 4},   {0, 0, 4, nan}};
  for (const auto& c : corners) {
    platform::ScreenWindow w(platform::ScreenRect{0, 0, 4, 4});
    w.DrawImage(image.data(), 3, 2, 3, c[0], c[1], c[2], c[3], platform::DeviceRect{0, 0, 4, 4});
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(At(w, x, y).red, 0) << c[0] << " " << c[1] << " " << c[2] << " " << c[3] << " at " << x << "," << y;
      }
    }
  }
}

TEST(ScreenWindow, AMirroredDrawingAndTheClipAreHonoured) {
  platform::ScreenWindow w(platform::ScreenRect{0, 0, 3, 2});
  const std::vector<uint8_t> image = Image();
  // Top-left corner lands at the bottom: a vertical mirror.
  w.DrawImage(image.data(), 3, 2, 3, 0, 2, 3, 0, platform::DeviceRect{1, 0, 3, 2});
  EXPECT_EQ(At(w, 0, 0).red, 0);  // clipped away
  EXPECT_EQ(At(w, 1, 0).red, 11);
  EXPECT_EQ(At(w, 1, 0).green, 11);  // image row 1 at the top
  EXPECT_EQ(At(w, 2, 1).green, 1);
}

// Every device pixel takes the image pixel under its centre, whether the
// image lands at its own size (whole rows copied), shifted by half a pixel,
// mirrored left to right or stretched; the first byte is always cleared.
TEST(ScreenWindow, EveryPlacementTakesThePixelUnderEachCentre) {
  const std::vector<uint8_t> image = Image(5);
  struct Case {
    double x0, y0, x1, y1;
  };
  for (const Case& c : {Case{1, 1, 4, 3}, Case{0.25, 0, 3.25, 2}, Case{1.4, 2, 4.4, 0}, Case{4, 0, 1, 2},
                        Case{0, 0, 6, 4}}) {
    platform::ScreenWindow w(platform::ScreenRect{0, 0, 6, 4});
    w.DrawImage(image.data(), 3, 2, 5, c.x0, c.y0, c.x1, c.y1, platform::DeviceRect{1, 0, 6, 4});
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 6; ++x) {
        const double u = (x + 0.5 - c.x0) * 3 / (c.x1 - c.x0), v = (y + 0.5 - c.y0) * 2 / (c.y1 - c.y0);
        const bool inside = x >= 1 && u >= 0 && u < 3 && v >= 0 && v < 2;
        const uint8_t* p = w.Pixels() + (static_cast<size_t>(y) * 6 + x) * 4;
        EXPECT_EQ(p[0], 0) << c.x0 << " at " << x << "," << y;
        EXPECT_EQ(p[1], inside ? 10 * static_cast<int>(u) + 1 : 0) << c.x0 << " at " << x << "," << y;
        EXPECT_EQ(p[2], inside ? 10 * static_cast<int>(v) + 1 : 0) << c.x0 << " at " << x << "," << y;
        EXPECT_EQ(p[3], inside ? 7 : 0) << c.x0 << " at " << x << "," << y;
      }
    }
  }
}

// Records the areas the backend is told of.
class PresentLog : public platform::HeadlessBackend {
 public:
  void WindowPresented(platform::ScreenWindow*, const platform::DeviceRect& area) override { areas.push_back(area); }
  std::vector<platform::DeviceRect> areas;
};

// Only pixels that differ from the last frame are stored, and the backend
// hears of the box round them (a few columns more where several are
// compared at once), or nothing when nothing changed; drawn at its own size
// or stretched, the pixels are those of the image either way.
TEST(ScreenWindow, TheBackendHearsOfTheBoxRoundWhatChanged) {
  auto owned = std::make_unique<PresentLog>();
  PresentLog* log = owned.get();
  platform::InstallBackend(std::move(owned));
  for (int stretch : {1, 2}) {
    const int iw = 37, ih = 9, ww = iw * stretch, wh = ih * stretch;
    platform::ScreenWindow w(platform::ScreenRect{0, 0, static_cast<double>(ww), static_cast<double>(wh)});
    std::vector<uint8_t> image(static_cast<size_t>(iw) * ih * 4);
    std::mt19937 rng(static_cast<unsigned>(stretch));
    for (uint8_t& b : image) b = static_cast<uint8_t>(rng() | 1);  // no pixel black
    const auto draw = [&] {
      log->areas.clear();
      w.DrawImage(image.data(), iw, ih, iw, 0, 0, ww, wh, platform::DeviceRect{0, 0, ww, wh});
      for (int y = 0; y < wh; ++y) {
        for (int x = 0; x < ww; ++x) {
          const uint8_t* p = w.Pixels() + (static_cast<size_t>(y) * ww + x) * 4;
          const uint8_t* q = &image[(static_cast<size_t>(y / stretch) * iw + x / stretch) * 4];
          ASSERT_EQ(p[0], 0) << x << "," << y;
          ASSERT_EQ(p[1], q[1]) << x << "," << y;
          ASSERT_EQ(p[2], q[2]) << x << "," << y;
          ASSERT_EQ(p[3], q[3]) << x << "," << y;
        }
      }
    };
    draw();
    ASSERT_EQ(log->areas.size(), 1u);
    EXPECT_EQ(log->areas[0].left, 0);
    EXPECT_EQ(log->areas[0].top, 0);
    EXPECT_EQ(log->areas[0].right, ww);
    EXPECT_EQ(log->areas[0].bottom, wh);
    draw();
    EXPECT_TRUE(log->areas.empty()) << "nothing changed";
    // Only the ignored first byte changes: nothing to tell.
    image[(static_cast<size_t>(4) * iw + 20) * 4] ^= 0xff;
    draw();
    EXPECT_TRUE(log->areas.empty()) << "the first byte changed";
    image[(static_cast<size_t>(2) * iw + 13) * 4 + 1] ^= 0x40;
    image[(static_cast<size_t>(6) * iw + 26) * 4 + 3] ^= 0x02;
    draw();
    ASSERT_EQ(log->areas.size(), 1u);
    const platform::DeviceRect& a = log->areas[0];
    EXPECT_EQ(a.top, 2 * stretch);
    EXPECT_EQ(a.bottom, 7 * stretch);
    EXPECT_LE(a.left, 13 * stretch);
    EXPECT_GE(a.left, 13 * stretch - 7);
    EXPECT_GE(a.right, 27 * stretch);
    EXPECT_LE(a.right, 27 * stretch + 7);
  }
  platform::InstallBackend(nullptr);
}

TEST(WindowContext, DrawsImagesTopRowAtTheRectanglesLargestY) {
  platform::ScreenWindow w(platform::ScreenRect{0, 0, 3, 2});
  // A view context whose y runs down, flipped by its owner as the Carbon
  // view flips it: the image comes out the right way up.
  CGContextRef context = platform::CreateWindowContext(&w, CGAffineTransform{1, 0, 0, 1, 0, 0},
                                                       platform::DeviceRect{0, 0, 3, 2});
  CGContextTranslateCTM(context, 0, 2);
  CGContextScaleCTM(context, 1, -1);
  const CGSize device = CGContextConvertSizeToDeviceSpace(context, CGSizeMake(1, 1));
  EXPECT_EQ(device.width, 1);
  EXPECT_EQ(device.height, -1);
  std::vector<uint8_t> pixels = Image();
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGDataProviderRef provider = CGDataProviderCreateWithData(nullptr, pixels.data(), pixels.size(), nullptr);
  CGImageRef image = CGImageCreate(3, 2, 8, 32, 12, space, kCGImageAlphaNoneSkipFirst, provider, nullptr, false,
                                   kCGRenderingIntentDefault);
  CGDataProviderRelease(provider);
  ASSERT_NE(image, nullptr);
  CGContextDrawImage(context, CGRectMake(0, 0, 3, 2), image);
  EXPECT_EQ(At(w, 0, 0).green, 1);
  EXPECT_EQ(At(w, 2, 1).red, 21);
  EXPECT_EQ(At(w, 2, 1).green, 11);
  CGImageRelease(image);
  platform::ReleaseWindowContext(context);

  // Layouts other than 8-bit X, R, G, B, and short providers, make no image.
  CGDataProviderRef small = CGDataProviderCreateWithData(nullptr, pixels.data(), 12, nullptr);
  EXPECT_EQ(CGImageCreate(3, 2, 8, 32, 12, space, kCGImageAlphaNoneSkipFirst, small, nullptr, false, 0), nullptr);
  EXPECT_EQ(CGImageCreate(3, 1, 8, 24, 12, space, kCGImageAlphaNoneSkipFirst, small, nullptr, false, 0), nullptr);
  EXPECT_EQ(CGImageCreate(3, 1, 8, 32, 12, space, 1, small, nullptr, false, 0), nullptr);
  CGDataProviderRelease(small);
  CGColorSpaceRelease(space);
}

}  // namespace
