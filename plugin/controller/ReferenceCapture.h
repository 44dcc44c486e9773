#pragma once

#include <array>

class WDL_Mutex;

// Reference points: the pre-filter analyser's display points at resolution
// 2, every second preferred frequency from 10 Hz, the last at 22050 Hz.
constexpr int kReferencePointCount = 134;

// The reference spectrum drawn behind the analyser: kReferencePointCount
// points of frequency (Hz) and linear magnitude. Both arrays are zero from
// construction (no reference loaded) and keep their size for life; they are
// only ever replaced together, so the state writer and the display never see
// the frequencies of one reference with the magnitudes of another.
//
// Loaders fill a fresh object outside any lock (reading a file or measuring
// an audio file can take long) and hand it to Commit, which copies it in
// under the plug mutex.
class ReferenceCapture {
 public:
  static constexpr int GetCount() { return kReferencePointCount; }
  const double* GetFrequencies() const { return mFrequencies.data(); }
  const double* GetMagnitudes() const { return mMagnitudes.data(); }

  // Takes both arrays when count is GetCount() and every value is finite;
  // otherwise returns false and keeps what it held. A NaN or infinity here
  // would reach every grid value near it.
  bool Set(const double* frequencies, const double* magnitudes, int count);

  // Lays this reference on an analyser grid of curveCount values running
  // from 0 Hz to sampleRate / 2 (the host rate): the one half band that
  // every path uses (state restore, ".ref", audio file, grid resize).
  void LayOnGrid(double* curve, int curveCount, double sampleRate) const;

  // Copies `fresh` in and lays it on the grid (when curve is non-null), both
  // under the mutex, so that neither the state writer nor the analyser
  // refresh sees a half-replaced reference or a curve of the old one. Copies
  // only: nothing is allocated while the lock is held.
  void Commit(const ReferenceCapture& fresh, WDL_Mutex* mutex, double* curve, int curveCount, double sampleRate);

 private:
  std::array<double, kReferencePointCount> mFrequencies{};
  std::array<double, kReferencePointCount> mMagnitudes{};
};
