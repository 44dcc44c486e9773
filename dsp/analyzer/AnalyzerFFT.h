#pragma once

#include <vector>

// The analysers' forward real transform of one length, with its tables
// made beforehand. Butterfly for butterfly it does the arithmetic of
// RealFFT(data, n, +1), so it leaves the same bits, but in an order that
// walks memory straight and two doubles at a time.
class AnalyzerFFT {
 public:
  // Makes the tables for n (a power of two, at least 4); false, and no
  // length planned, for any other n or when memory cannot be had.
  bool Plan(int n);
  int Length() const { return mLength; }
  // As RealFFT(data, n, +1) on n + 2 doubles; false, the data untouched,
  // unless planned for n.
  bool Forward(double* data, int n) const;

 private:
  int mLength = 0;
  std::vector<int> mSwaps;          // pairs of double indices the bit reversal exchanges
  std::vector<double> mTwiddles;    // each pass's factors in order, (wr, wr, -wi, wi) each
  std::vector<double> mSplit;       // the real split's factors, (wr, wi) each
};
