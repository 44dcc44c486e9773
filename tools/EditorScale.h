#pragma once

#include <string>

// The editor's "GUI Scale" values in percent, and the window each gives.
struct PixelSize {
  int width = 0, height = 0;
};

// Smallest first.
constexpr int kGuiScalePercents[] = {50, 75, 100, 125, 150, 175, 200};

bool IsGuiScalePercent(long long percent);

// The editor's window at a scale, from its size at 100 %, rounded down as
// the plug-in sizes it.
PixelSize EditorSizeAt(double baseWidth, double baseHeight, int percent);

bool Fits(const PixelSize& window, const PixelSize& screen);

// The largest scale up to atMostPercent whose window fits on the screen;
// the smallest scale when none does.
int LargestScaleThatFits(double baseWidth, double baseHeight, const PixelSize& screen, int atMostPercent);

// "W x H".
std::string SizeText(const PixelSize& size);
