#include "dsp/resampler/DirectStage.h"

#include "dsp/resampler/BlockConvolver.h"
#include "dsp/resampler/LowPassKernel.h"
#include "dsp/resampler/SymmetricFir.h"
#include "dsp/resampler/VectorCopy.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Past this length the block transforms cost less per sample.
constexpr int32_t kLongestDirectKernel = 127;

// ceil(x / 2) for x >= -1.
inline int64_t HalfUp(int64_t x) { return (x + 1) >> 1; }

double* TakeTaps(const double* taps, int32_t first, int32_t step, int32_t count, double factor) {
  double* p = new double[std::max(count, 1)];
  for (int32_t j = 0; j < count; ++j) p[j] = factor * taps[first + j * step];
  return p;
}

// Appends samples to a history, moving the part still needed to its front
// first when the new ones would not fit.
void Append(DirectStage* d, int k, const double* x, int32_t n, int32_t step) {
  const int32_t capacity = d->keep + DirectStage::kPiece + 2;
  if (d->length[k] + n > capacity) {
    const int32_t drop = d->length[k] - d->keep;
    std::memmove(d->history[k], d->history[k] + drop, d->keep * sizeof(double));
    d->base[k] += drop;
    d->length[k] = d->keep;
  }
  double* to = d->history[k] + d->length[k];
  if (step == 1) {
    CopyDoubles(to, x, n);
  } else {
    int32_t i = 0;
#if defined(__SSE2__)
    // Every second sample, two stores of two a step. A step's last load
    // reaches one sample past the last it keeps, so the final step is
    // left to the plain loop: that sample may lie past the input.
    for (; i + 4 < n; i += 4) {
      const __m128d a = _mm_loadu_pd(x + 2 * i), b = _mm_loadu_pd(x + 2 * i + 2);
      const __m128d c = _mm_loadu_pd(x + 2 * i + 4), e = _mm_loadu_pd(x + 2 * i + 6);
      _mm_storeu_pd(to + i, _mm_unpacklo_pd(a, b));
      _mm_storeu_pd(to + i + 2, _mm_unpacklo_pd(c, e));
    }
#endif
    for (; i < n; ++i) to[i] = x[i * step];
  }
  d->length[k] += n;
}

// Where global index q of history k lies.
inline const double* At(const DirectStage* d, int k, int64_t q) { return d->history[k] + (q - d->base[k]); }

}  // namespace

bool KernelSuitsDirectStage(const LowPassKernel* kernel) {
  return kernel->taps && kernel->length <= kLongestDirectKernel;
}

DirectStage* NewDirectStage(const BlockConvolver* stage) {
  DirectStage* d = new DirectStage();
  const LowPassKernel* k = stage->kernel;
  const int32_t h = k->halfLength;
  if (stage->mode == kConvolveFilter) {
    d->phaseTaps[0] = TakeTaps(k->taps, 0, 1, k->length, 1.0);
    d->phaseLength[0] = k->length;
  } else {
    // Doubling feeds each input in as (2x, 0): the 2 goes into the taps.
    const double factor = stage->mode == kConvolveDouble ? 2.0 : 1.0;
    d->phaseTaps[0] = TakeTaps(k->taps, 0, 2, h + 1, factor);
    d->phaseLength[0] = h + 1;
    d->phaseTaps[1] = TakeTaps(k->taps, 1, 2, h, factor);
    d->phaseLength[1] = h;
  }
  d->streams = stage->mode == kConvolveHalve ? 2 : 1;
  d->keep = stage->blockSize + 2 * h + 4;
  for (int s = 0; s < d->streams; ++s) d->history[s] = new double[d->keep + DirectStage::kPiece + 2];
  if (stage->mode == kConvolveDouble) {
    for (int s = 0; s < 2; ++s) d->scratch[s] = new double[DirectStage::kPiece + 2];
  }
  // The kept outputs are those an even count after the discard: filter-rate
  // output m = t - B of stream position t.
  d->keptParity = (stage->dropCount - stage->blockSize) & 1;
  ResetDirectStage(d);
  return d;
}

void DeleteDirectStage(DirectStage* d) {
  if (!d) return;
  for (int s = 0; s < 2; ++s) {
    delete[] d->phaseTaps[s];
    delete[] d->history[s];
    delete[] d->scratch[s];
  }
  delete d;
}

void ResetDirectStage(DirectStage* d) {
  for (int s = 0; s < d->streams; ++s) {
    std::memset(d->history[s], 0, d->keep * sizeof(double));
    d->base[s] = -d->keep;
    d->length[s] = d->keep;
  }
  d->taken = 0;
}

namespace {

// The outputs of filter-rate positions [ta, tb) of a pass, whose inputs are
// in the histories: position t is output m = t - B of the filter.
void DoubleOutputs(DirectStage* d, int64_t ma, int64_t mb, double* dst) {
  const int64_t q0 = HalfUp(ma), q0End = HalfUp(mb);
  const int64_t q1 = ma >> 1, q1End = mb >> 1;
  SymmetricFir(At(d, 0, q0), d->phaseTaps[0], d->phaseLength[0], d->scratch[0], static_cast<int32_t>(q0End - q0),
               false);
  SymmetricFir(At(d, 0, q1), d->phaseTaps[1], d->phaseLength[1], d->scratch[1], static_cast<int32_t>(q1End - q1),
               false);
  int64_t m = ma;
  if (m < mb && (m & 1)) {
    dst[0] = d->scratch[1][(m >> 1) - q1];
    ++m;
  }
  // From an even m on, the two phases' outputs alternate.
  const double* even = d->scratch[0] + ((m >> 1) - q0);
  const double* odd = d->scratch[1] + ((m >> 1) - q1);
  double* to = dst + (m - ma);
  const int64_t pairs = (mb - m) >> 1;
  int64_t j = 0;
#if defined(__SSE2__)
  for (; j + 2 <= pairs; j += 2) {
    const __m128d e = _mm_loadu_pd(even + j), o = _mm_loadu_pd(odd + j);
    _mm_storeu_pd(to + 2 * j, _mm_unpacklo_pd(e, o));
    _mm_storeu_pd(to + 2 * j + 2, _mm_unpackhi_pd(e, o));
  }
#endif
  for (; j < pairs; ++j) {
    to[2 * j] = even[j];
    to[2 * j + 1] = odd[j];
  }
  if ((mb - m) & 1) to[2 * pairs] = even[pairs];
}

// Halving: outputs m = 2q + parity for q in [qa, qb), written to dst.
void HalveOutputs(DirectStage* d, int64_t qa, int64_t qb, double* dst) {
  const int32_t n = static_cast<int32_t>(qb - qa);
  if (n <= 0) return;
  // Even taps on the inputs of the output's parity, odd taps on the others:
  // for an even output the odd inputs one step back.
  const int even = d->keptParity;
  const int odd = 1 - d->keptParity;
  SymmetricFir(At(d, even, qa), d->phaseTaps[0], d->phaseLength[0], dst, n, false);
  SymmetricFir(At(d, odd, even == 0 ? qa - 1 : qa), d->phaseTaps[1], d->phaseLength[1], dst, n, true);
}

}  // namespace

int32_t ConvolveDirect(BlockConvolver* stage, const double* in, double** out, int32_t count) {
  if (count <= 0) return 0;
  DirectStage* d = stage->direct;
  const int64_t b = stage->blockSize;
  const int32_t n = count << stage->upShift;
  const int64_t start = d->taken;
  // The discard and the halving's counts, as the transform path keeps them.
  int32_t dropped = 0;
  if (stage->drop > 0) {
    dropped = std::min(stage->drop, n);
    stage->drop -= dropped;
  }
  const int32_t produced = n - dropped;
  const int32_t phase = stage->decimPhase;
  int32_t result = produced;
  if (stage->mode == kConvolveHalve) {
    result = (produced + 1 - phase) / 2;
    stage->decimPhase = (phase + produced) & 1;
  }
  double* dst = produced > 0 ? *out + dropped : *out;
  const int64_t first = start + dropped;  // first position output this call

  for (int32_t done = 0; done < count;) {
    const int32_t piece = std::min(count - done, DirectStage::kPiece);
    const int64_t t0 = start + (static_cast<int64_t>(done) << stage->upShift);
    const int64_t t1 = t0 + (static_cast<int64_t>(piece) << stage->upShift);
    if (stage->mode == kConvolveHalve) {
      // Sample t goes to history t & 1 as its sample t >> 1.
      const int32_t firstOdd = static_cast<int32_t>(t0 & 1);
      const int32_t evens = (piece + 1 - firstOdd) / 2;
      const int32_t odds = piece - evens;
      Append(d, 0, in + done + firstOdd, evens, 2);
      Append(d, 1, in + done + 1 - firstOdd, odds, 2);
    } else {
      Append(d, 0, in + done, piece, 1);
    }
    done += piece;
    const int64_t ta = std::max(t0, first);
    if (ta < t1) {
      const int64_t ma = ta - b, mb = t1 - b;
      if (stage->mode == kConvolveFilter) {
        SymmetricFir(At(d, 0, ma), d->phaseTaps[0], d->phaseLength[0], dst + (ta - first),
                     static_cast<int32_t>(mb - ma), false);
      } else if (stage->mode == kConvolveDouble) {
        DoubleOutputs(d, ma, mb, dst + (ta - first));
      } else {
        // Kept: the outputs an even count past the call's first kept one.
        const int64_t qa = HalfUp(ma - d->keptParity), qb = HalfUp(mb - d->keptParity);
        const int64_t firstKept = first + phase;
        const int64_t index = (2 * qa + d->keptParity + b - firstKept) / 2;
        HalveOutputs(d, qa, qb, dst + index);
      }
    }
  }
  d->taken = start + n;
  if (produced <= 0) return 0;
  *out = dst;
  return result;
}
