#pragma once

#include <vector>

#include "graphics/IColor.h"

class IGraphics;
struct IChannelBlend;

// Fills of one colour reaching down to one bottom row, as a spectrum's area
// is drawn: a rectangle per curve piece, mostly a column or two wide. Drawn
// as they come, each would walk its column down the bitmap a row at a
// time; gathered, the area goes out as few wide rectangles. Every pixel
// still gets each fill that covered it, and as long as what is drawn
// meanwhile calls Touch first, in the same order against the other
// drawing, so the pixels come out as the single fills make them.
class ColumnFill {
 public:
  // Columns left..right-1 are gathered; fills beyond them are drawn at once.
  ColumnFill(IGraphics* g, const IColor& color, const IChannelBlend* blend, int left, int right, int bottom);
  ~ColumnFill() { Flush(); }
  ColumnFill(const ColumnFill&) = delete;
  ColumnFill& operator=(const ColumnFill&) = delete;

  // The rectangle (x0, top, x1, bottom) as FillIRect takes it; one that
  // does not reach the gathered bottom is drawn at once.
  void Add(int x0, int top, int x1, int bottom);
  // Something is about to be drawn within the pixels x0..x1, y0..y1
  // (inclusive): what is pending there goes first.
  void Touch(int x0, int y0, int x1, int y1);
  void Flush();

 private:
  void Fill(int x0, int top, int x1, int bottom);

  static constexpr int kNone = 1 << 30;
  IGraphics* mGraphics;
  IColor mColor;
  const IChannelBlend* mBlend;
  int mLeft, mBottom;
  std::vector<int> mTop;  // per column, the top of its pending fill, or kNone
  struct Extra {
    int x, top;
  };
  std::vector<Extra> mExtra;  // second and later fills of a column
  bool mPending = false;
};
