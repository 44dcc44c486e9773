#pragma once

#include <cstddef>
#include <vector>

// The EQ responses the display samples column by column, kept between
// frames: a curve is sampled again only when something it is drawn from
// changes. The caller describes that state as a list of numbers (the plot
// columns' frequencies, the bands' settings, the rate); the evaluator's own
// state, which the list may not show (a bank redesigned for a new rate),
// is checked each frame at two probe columns, whose values must come back
// exactly as kept.
class ResponseCurveCache {
 public:
  using Evaluator = double (*)(void* context, double frequency, int channel, int band);
  // A curve of each band (0..11) and each channel sum (band -1, channel 0..4).
  static constexpr int kSlots = 12 + 5;

  // The state the next Values() calls are drawn from; a change drops every
  // kept curve.
  void SetState(const std::vector<double>& state, Evaluator evaluator, void* context);
  // The response of (channel, band) at columns 0..columns-1, columnHz(c)
  // giving column c's frequency; null for a curve no slot holds.
  template <class ColumnHz>
  const double* Values(int channel, int band, int columns, ColumnHz columnHz);
  void Clear();

 private:
  struct Curve {
    std::vector<double> values;
    bool valid = false;
  };
  static int SlotOf(int channel, int band);

  std::vector<double> mState;
  Evaluator mEvaluator = nullptr;
  void* mContext = nullptr;
  Curve mCurves[kSlots];
};

template <class ColumnHz>
const double* ResponseCurveCache::Values(int channel, int band, int columns, ColumnHz columnHz) {
  const int slot = SlotOf(channel, band);
  if (slot < 0 || !mEvaluator || columns <= 0) return nullptr;
  Curve& curve = mCurves[slot];
  const auto at = [&](int c) { return mEvaluator(mContext, columnHz(c), channel, band); };
  if (curve.valid && static_cast<int>(curve.values.size()) == columns) {
    const int mid = columns / 2, last = columns - 1;
    if (at(mid) == curve.values[mid] && at(last) == curve.values[last]) return curve.values.data();
  }
  curve.values.resize(static_cast<size_t>(columns));
  for (int c = 0; c < columns; ++c) curve.values[c] = at(c);
  curve.valid = true;
  return curve.values.data();
}
