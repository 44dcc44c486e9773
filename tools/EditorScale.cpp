#include "tools/EditorScale.h"

#include <algorithm>
#include <iterator>

bool IsGuiScalePercent(long long percent) {
  return std::find(std::begin(kGuiScalePercents), std::end(kGuiScalePercents), percent) !=
         std::end(kGuiScalePercents);
}

PixelSize EditorSizeAt(double baseWidth, double baseHeight, int percent) {
  // Every scale is a whole number of quarters, exact in binary, so this is
  // the very factor the plug-in multiplies by.
  const double scale = percent / 100.0;
  return {static_cast<int>(baseWidth * scale), static_cast<int>(baseHeight * scale)};
}

bool Fits(const PixelSize& window, const PixelSize& screen) {
  return window.width <= screen.width && window.height <= screen.height;
}

int LargestScaleThatFits(double baseWidth, double baseHeight, const PixelSize& screen, int atMostPercent) {
  int best = kGuiScalePercents[0];
  for (const int percent : kGuiScalePercents) {
    if (percent <= atMostPercent && Fits(EditorSizeAt(baseWidth, baseHeight, percent), screen)) best = percent;
  }
  return best;
}

std::string SizeText(const PixelSize& size) {
  return std::to_string(size.width) + " x " + std::to_string(size.height);
}
