#include "platform/windowserver/ScreenWindow.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/CGImage.h"

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
