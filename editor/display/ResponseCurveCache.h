#pragma once

#include <cstddef>
#include <vector>

// The EQ curves the display draws, kept between frames as the plot row of
// every column: a curve is sampled again only when the state it was drawn
// from changes. The caller describes that state as a list of numbers: the
// columns' frequencies, the gain mapping, the bands' settings and whatever
// the evaluator reports of its own; the list must hold everything a row
// follows from, as nothing else is checked.
class ResponseCurveCache {
 public:
  // A curve of each band (0..11) in channel 0 and each channel sum (band -1,
  // channel 0..4); any other is sampled at every call.
  static constexpr int kSlots = 12 + 5;

  // The state the next calls are drawn from; any difference, to the bit,
  // drops every kept curve.
  void SetState(const std::vector<double>& state);
  void Clear();

  // The rows of (channel, band) at columns 0..columns-1, rowAt(c) giving
  // column c's.
  template <class RowAt>
  const int* Rows(int channel, int band, int columns, RowAt rowAt);
  // The row of the marker that (channel, band) carries, rowOf() giving it.
  template <class RowOf>
  int MarkerRow(int channel, int band, RowOf rowOf);

 private:
  struct Curve {
    std::vector<int> rows;
    bool rowsKept = false;
    int markerRow = 0;
    bool markerKept = false;
  };
  Curve& CurveOf(int channel, int band);

  std::vector<double> mState;
  bool mHasState = false;
  Curve mCurves[kSlots];
  Curve mUnkept;  // a curve no slot holds
};

template <class RowAt>
const int* ResponseCurveCache::Rows(int channel, int band, int columns, RowAt rowAt) {
  Curve& curve = CurveOf(channel, band);
  if (columns <= 0) return nullptr;
  if (!curve.rowsKept || static_cast<int>(curve.rows.size()) != columns) {
    curve.rows.resize(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) curve.rows[c] = rowAt(c);
    curve.rowsKept = &curve != &mUnkept;
  }
  return curve.rows.data();
}

template <class RowOf>
int ResponseCurveCache::MarkerRow(int channel, int band, RowOf rowOf) {
  Curve& curve = CurveOf(channel, band);
  if (!curve.markerKept) {
    curve.markerRow = rowOf();
    curve.markerKept = &curve != &mUnkept;
  }
  return curve.markerRow;
}
