#pragma once

// What a control knows of the GUI scale: the editor's size at 100 % and the
// current factors, set by the graphics core whenever it re-places controls.
class IResize {
 public:
  virtual ~IResize() = default;

  // A control that keeps scaled state of its own (bitmaps, text sizes,
  // derived rectangles) extends this.
  virtual void Rescale(double scaleX, double scaleY) {
    mScaleX = scaleX;
    mScaleY = scaleY;
  }

  void SetResizeBase(int baseWidth, int baseHeight, double scaleX, double scaleY) {
    mBaseWidth = baseWidth;
    mBaseHeight = baseHeight;
    mScaleX = scaleX;
    mScaleY = scaleY;
  }
  int GetBaseWidth() const { return mBaseWidth; }
  int GetBaseHeight() const { return mBaseHeight; }
  double GetScaleX() const { return mScaleX; }
  double GetScaleY() const { return mScaleY; }

 protected:
  int mBaseWidth = 100;
  int mBaseHeight = 100;
  double mScaleX = 1.0;
  double mScaleY = 1.0;
};
