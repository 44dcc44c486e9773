#pragma once

#include <algorithm>
#include <array>
#include <vector>

#include "graphics/IColor.h"
#include "graphics/IGraphics.h"

// Lines of one colour and blend that come out as DrawLineColorAlpha draws
// them one by one, in far fewer calls. A horizontal line does one and the
// same thing to each of its pixels, so a pixel that several of them cover
// ends up the same whatever order they come in: horizontal lines are
// gathered per row as a count of lines over each pixel and go out as the
// fewest lines that give every pixel its count. Any other line may weigh
// its pixels differently, so what is gathered goes first. Header only:
// the curves' drawing and their tests share it.
class LineRuns {
 public:
  // Horizontal lines within columns left..right are gathered; others are
  // drawn at once. The counts live in scratch when given (kept all zero
  // between uses, so a caller drawing every frame need not clear or
  // allocate them again), else in a buffer of its own.
  LineRuns(IGraphics* g, const IColor& color, const IChannelBlend* blend, int left, int right,
           std::vector<int>* scratch = nullptr)
      : mGraphics(g), mColor(color), mBlend(blend), mLeft(left), mRight(std::max(left, right)),
        mCounts(scratch ? scratch : &mOwnCounts) {
    const size_t size = static_cast<size_t>(kRows) * Stride();
    if (mCounts->size() < size) mCounts->assign(size, 0);
  }
  ~LineRuns() { Flush(); }
  LineRuns(const LineRuns&) = delete;
  LineRuns& operator=(const LineRuns&) = delete;

  // As DrawLineColorAlpha(&color, x0, y0, x1, y1, blend, true).
  void Line(int x0, int y0, int x1, int y1) {
    if (y0 != y1) {
      Flush();
      Draw(x0, y0, x1, y1);
      return;
    }
    const int a = std::min(x0, x1), b = std::max(x0, x1);
    if (a < mLeft || b > mRight) {
      Draw(a, y0, b, y0);
      return;
    }
    // Rows by their low bits: a thick piece's rows all get their own.
    Row& row = mRows[static_cast<size_t>(y0) & (kRows - 1)];
    if (row.used && row.y != y0) FlushRow(row);
    if (!row.used) {
      row.used = true;
      row.y = y0;
      row.lo = a - mLeft;
      row.hi = b - mLeft;
      mUsed = true;
    }
    int* d = Counts(row);
    ++d[a - mLeft];
    --d[b - mLeft + 1];
    row.lo = std::min(row.lo, a - mLeft);
    row.hi = std::max(row.hi, b - mLeft);
  }

  void Flush() {
    if (!mUsed) return;
    for (Row& row : mRows) {
      if (row.used) FlushRow(row);
    }
    mUsed = false;
  }

 private:
  // Rows gathered at once, a power of two: a thick curve's flat piece
  // covers 2 * thickness - 1.
  static constexpr int kRows = 8;
  struct Row {
    bool used;
    int y, lo, hi;  // lo..hi: the columns touched, from mLeft
  };

  size_t Stride() const { return static_cast<size_t>(mRight - mLeft + 2); }

  void Draw(int x0, int y0, int x1, int y1) {
    mGraphics->DrawLineColorAlpha(&mColor, static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1),
                                  static_cast<float>(y1), mBlend, true);
  }

  // The counts are kept as steps (+1 where a line starts, -1 past its end);
  // a level opens where the count climbs past it and closes where it drops
  // below, one line per level and stretch.
  int* Counts(const Row& row) {
    return mCounts->data() + static_cast<size_t>(&row - mRows.data()) * Stride();
  }

  void FlushRow(Row& row) {
    row.used = false;
    int* d = Counts(row);
    int count = 0;
    for (int x = row.lo; x <= row.hi + 1; ++x) {
      const int next = count + d[x];
      d[x] = 0;
      if (next > count) {
        if (mOpen.size() < static_cast<size_t>(next)) mOpen.resize(static_cast<size_t>(next));
        for (int level = count; level < next; ++level) mOpen[static_cast<size_t>(level)] = x;
      } else {
        for (int level = next; level < count; ++level) {
          Draw(mOpen[static_cast<size_t>(level)] + mLeft, row.y, x - 1 + mLeft, row.y);
        }
      }
      count = next;
    }
  }

  IGraphics* mGraphics;
  IColor mColor;
  const IChannelBlend* mBlend;
  int mLeft, mRight;
  std::array<Row, kRows> mRows{};
  bool mUsed = false;  // some row is in use
  std::vector<int> mOwnCounts;
  std::vector<int>* mCounts;  // kRows rows of steps, one more column than gathered
  std::vector<int> mOpen;    // per level, the column where it opened
};
