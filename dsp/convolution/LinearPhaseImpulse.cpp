#include "dsp/convolution/LinearPhaseImpulse.h"

#include <cmath>

#include "dsp/convolution/SplitRadixFFT.h"
#include "framework/containers/WDL_TypedBuf.h"

bool MakeLinearPhaseImpulse(double* data, int n) {
  if (!data || n < SplitRadixFFT::kMinSize || n > SplitRadixFFT::kMaxSize) return false;
  int size = 1;
  while (size < n) size *= 2;

  WDL_TypedBuf<double> work;
  double* points = work.Resize(2 * size);
  if (work.GetSize() != 2 * size) return false;
  for (int i = 0; i < size; ++i) {
    points[2 * i] = i < n ? data[i] : 0.0;
    points[2 * i + 1] = 0.0;
  }

  SplitRadixFFT::RunFFT(points, size, 0);
  const double scale = 1.0 / size;
  for (int i = 0; i < size; ++i) {
    const double re = points[2 * i];
    const double im = points[2 * i + 1];
    points[2 * i] = std::sqrt(re * re + im * im) * scale;
    points[2 * i + 1] = 0.0;
  }
  SplitRadixFFT::RunFFT(points, size, 1);

  // The zero-phase response is symmetric about its sample 0 (circularly);
  // sample k of the result takes its sample k - n/2, so the peak lands on
  // n / 2. For n a power of two this is the circular rotation by n / 2; for
  // other lengths it keeps the peak, where a window starting at (N - n) / 2
  // would keep only the far tails.
  const int centre = n / 2;
  for (int k = 0; k < n; ++k) {
    int index = k - centre;
    if (index < 0) index += size;
    data[k] = points[2 * index];
  }
  return true;
}
