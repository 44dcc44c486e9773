#pragma once

class LICE_IBitmap;

// A bitmap as controls hold it. The pixels belong to a bitmap cache of the
// graphics core; copying an IBitmap never copies or owns them. A bitmap
// that could not be loaded has size 0 and no pixels, and draws nothing.
struct IBitmap {
  int mW = 0;  // of all frames together, in bitmap pixels
  int mH = 0;
  LICE_IBitmap* mData = nullptr;
  int mN = 1;  // frames, side by side along the frame axis
  bool mFramesAreHorizontal = false;
  int mResourceID = 0;
  // Bitmap pixels per editor pixel at 100 % GUI scale.
  double mScaleX = 1.0;
  double mScaleY = 1.0;
};
