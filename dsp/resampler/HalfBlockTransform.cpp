#include "dsp/resampler/HalfBlockTransform.h"

#include "dsp/resampler/BlockConvolver.h"
#include "dsp/resampler/DirectStage.h"
#include "dsp/resampler/FFTWorkAreaPool.h"
#include "dsp/resampler/HalfBlockPasses.h"
#include "dsp/resampler/LowPassKernel.h"
#include "dsp/resampler/RealFFTWithTables.h"

#include <cstring>
#include <utility>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The packed spectrum of taps[first], taps[first + 2], ... placed from
// index `at` on, scaled for the unscaled inverse of size n.
double* PhaseSpectrum(const LowPassKernel* k, int32_t first, int32_t at, FFTWorkArea* area) {
  const int32_t n = area->size;
  double* s = new double[n]();
  for (int32_t i = first, j = at; i < k->length; i += 2, ++j) s[j] = k->taps[i] * area->inverseScale;
  RealFFTWithTables(n, 1, s, area->ip, area->w, area->bitReverse);
  return s;
}

// Lane `lane` of packed two-lane spectrum x times p, plus lane `lane` of y
// times q, into out (one sequence, packed).
void MultiplyAddLanes(int32_t n, const double* x, const double* p, const double* y, const double* q, double* out,
                      int lane) {
  out[0] = x[lane] * p[0] + y[lane] * q[0];
  out[1] = x[2 + lane] * p[1] + y[2 + lane] * q[1];
  for (int32_t i = 2; i < n; i += 2) {
    const double xr = x[2 * i + lane], xi = x[2 * i + 2 + lane];
    const double yr = y[2 * i + lane], yi = y[2 * i + 2 + lane];
    out[i] = (xr * p[i] - xi * p[i + 1]) + (yr * q[i] - yi * q[i + 1]);
    out[i + 1] = (xr * p[i + 1] + xi * p[i]) + (yr * q[i + 1] + yi * q[i]);
  }
}

// Lane `lane` of packed two-lane spectrum x times p into lane 0 and times q
// into lane 1 of out.
void MultiplyIntoLanes(int32_t n, const double* x, int lane, const double* p, const double* q, double* out) {
  out[0] = x[lane] * p[0];
  out[1] = x[lane] * q[0];
  out[2] = x[2 + lane] * p[1];
  out[3] = x[2 + lane] * q[1];
  for (int32_t i = 2; i < n; i += 2) {
    const double xr = x[2 * i + lane], xi = x[2 * i + 2 + lane];
    out[2 * i] = xr * p[i] - xi * p[i + 1];
    out[2 * i + 1] = xr * q[i] - xi * q[i + 1];
    out[2 * i + 2] = xr * p[i + 1] + xi * p[i];
    out[2 * i + 3] = xr * q[i + 1] + xi * q[i];
  }
}

void Forward(HalfBlockTransform* h, double* lanes) {
  FFTWorkArea* a = h->workArea;
  RealFFTTwoWithTables(h->size, 1, lanes, a->ip, a->w, a->bitReverse);
}

void Inverse(HalfBlockTransform* h, double* lanes) {
  FFTWorkArea* a = h->workArea;
  RealFFTTwoWithTables(h->size, -1, lanes, a->ip, a->w, a->bitReverse);
}

// Halving: the kept results, every `step`-th of `y`, to their block positions.
void ScatterKept(const HalfBlockTransform* h, const double* y, int32_t step, double* lastOutput) {
  const int32_t half = h->size / 2;
  double* to = lastOutput + h->keptParity;
  for (int32_t r = 0; r < half; ++r) to[2 * r] = y[step * r];
}

}  // namespace

bool HalfBlockKeepsCompactBlocks(const HalfBlockTransform* h) { return h && h->productTable; }

bool StageSuitsHalfBlockTransform(const BlockConvolver* stage) {
  return !stage->direct && stage->kernel->taps && stage->mode != kConvolveFilter && stage->blockSize >= 16;
}

HalfBlockTransform* NewHalfBlockTransform(const BlockConvolver* stage) {
  HalfBlockTransform* h = new HalfBlockTransform();
  h->size = stage->blockSize;
  h->workArea = AcquireFFTWorkArea(stage->kernel->log2Block);
  // A block position's parity is its stream position's: the kept ones share
  // the discard's.
  h->keptParity = stage->dropCount & 1;
  const LowPassKernel* k = stage->kernel;
  if (stage->mode == kConvolveDouble) {
    // Output phase 0 takes the even taps, phase 1 the odd ones, both on the
    // even inputs (the odd ones are the stuffed zeros).
    h->evenTaps = PhaseSpectrum(k, 0, 0, h->workArea);
    h->oddTaps = PhaseSpectrum(k, 1, 0, h->workArea);
  } else if (h->keptParity == 0) {
    // y[2r] = sum g[2j] even[r - j] + sum g[2j + 1] odd[r - 1 - j].
    h->evenTaps = PhaseSpectrum(k, 0, 0, h->workArea);
    h->oddTaps = PhaseSpectrum(k, 1, 1, h->workArea);
  } else {
    // y[2r + 1] = sum g[2j + 1] even[r - j] + sum g[2j] odd[r - j].
    h->evenTaps = PhaseSpectrum(k, 1, 0, h->workArea);
    h->oddTaps = PhaseSpectrum(k, 0, 0, h->workArea);
  }
  for (int i = 0; i < 2; ++i) h->lanes[i] = new double[2 * h->size]();
  if (HalfBlockPasses::Available() && HalfBlockPasses::SuitsSize(h->size)) {
    const int32_t m = h->size / 2;
    h->productTable = new double[4 * h->size];
    HalfBlockPasses::MakeProductTable(h->size, h->evenTaps, h->oddTaps, h->productTable);
    h->passTwiddles = new double[3 * m];
    HalfBlockPasses::MakePassTwiddles(m, h->workArea->w, 1.0, h->passTwiddles);
    HalfBlockPasses::MakePassTwiddles(m, h->workArea->w, -1.0, h->passTwiddles + 3 * m / 2);
    if (stage->mode == kConvolveHalve) h->product = new double[2 * h->size];
  }
  return h;
}

void DeleteHalfBlockTransform(HalfBlockTransform* h) {
  if (!h) return;
  delete[] h->evenTaps;
  delete[] h->oddTaps;
  delete[] h->productTable;
  delete[] h->passTwiddles;
  delete[] h->product;
  for (int i = 0; i < 2; ++i) delete[] h->lanes[i];
  if (h->workArea) ReleaseFFTWorkArea(h->workArea);
  delete h;
}

namespace {

// Halving: each channel's kept results (channel `k` of y's points, the
// first n / 2 samples) side by side at the front of lastOutput, kept
// result r being block position 2 r + keptParity.
void GatherKeptPoints(const HalfBlockTransform* h, const double* y, int k, double* lastOutput) {
  const int32_t quarter = h->size / 4;
  const double* from = y + 2 * k;
  for (int32_t r = 0; r < quarter; ++r) {
#if defined(__SSE2__)
    _mm_storeu_pd(lastOutput + 2 * r, _mm_loadu_pd(from + 4 * r));
#else
    lastOutput[2 * r] = from[4 * r];
    lastOutput[2 * r + 1] = from[4 * r + 1];
#endif
  }
}

// The transforms through HalfBlockPasses, for one channel (b == a) or two
// in step: each channel's arithmetic there is its own, so alone or paired
// it gets the same bits. The reorderings ride on the gathering and the
// products, and the inverses stop at the half of their result that is
// output.
void TransformFused(BlockConvolver* a, BlockConvolver* b) {
  HalfBlockTransform* h = a->half;
  const int32_t n = h->size;
  const int32_t m = n / 2;
  FFTWorkArea* area = h->workArea;
  int nc = 0, ks = 0;
  const double* c = RealFFTTables(n, area->ip, area->w, &nc, &ks);
  const int32_t* rev = area->bitReverse;
  const double* forward = h->passTwiddles;
  const double* inverse = h->passTwiddles + 3 * m / 2;
  const int channels = a == b ? 1 : 2;
  BlockConvolver* stages[2] = {a, b};
  if (a->mode == kConvolveDouble) {
    double* x = h->lanes[0];
    HalfBlockPasses::ForwardEvenPhases(a->fftBuffer, a->history, b->fftBuffer, b->history, m, rev, forward, x);
    double* spectra[2] = {h->lanes[1], x};
    HalfBlockPasses::FilterDoublingSpectra(x, n, h->productTable, c, nc, ks, spectra[0]);
    for (int k = 0; k < channels; ++k) {
      HalfBlockPasses::InverseFromReordered(spectra[k], m, rev, inverse, HalfBlockPasses::kFirstHalfPhases,
                                            stages[k]->lastOutput);
      std::swap(stages[k]->fftBuffer, stages[k]->history);
    }
    return;
  }
  for (int k = 0; k < channels; ++k) {
    HalfBlockPasses::ForwardPhases(stages[k]->fftBuffer, stages[k]->history, m, rev, forward, h->lanes[k]);
    std::swap(stages[k]->fftBuffer, stages[k]->history);
  }
  HalfBlockPasses::FilterHalvingSpectra(h->lanes[0], h->lanes[channels - 1], n, h->productTable, c, nc, ks);
  double* y = h->product;
  HalfBlockPasses::InverseFromReordered(h->lanes[0], m, rev, inverse, HalfBlockPasses::kFirstHalf, y);
  for (int k = 0; k < channels; ++k) GatherKeptPoints(h, y, k, stages[k]->lastOutput);
}

}  // namespace

void TransformHalfBlock(BlockConvolver* stage) {
  HalfBlockTransform* h = stage->half;
  if (h->productTable) {
    TransformFused(stage, stage);
    return;
  }
  const int32_t n = h->size;
  // The filter-rate block [current | previous] is its even and odd phases
  // side by side already.
  double* phases = stage->fftBuffer;
  Forward(h, phases);
  if (stage->mode == kConvolveDouble) {
    // The even phase through both tap phases: the two output phases side by
    // side, which is the filter-rate result in order.
    MultiplyIntoLanes(n, phases, 0, h->evenTaps, h->oddTaps, stage->lastOutput);
    Inverse(h, stage->lastOutput);
    return;
  }
  double* y = h->lanes[0];
  MultiplyAddLanes(n, phases, h->evenTaps, phases + 1, h->oddTaps, y, 0);
  FFTWorkArea* area = h->workArea;
  RealFFTWithTables(n, -1, y, area->ip, area->w, area->bitReverse);
  ScatterKept(h, y, 1, stage->lastOutput);
}

void TransformHalfBlockPair(BlockConvolver* a, BlockConvolver* b) {
  HalfBlockTransform* h = a->half;
  const int32_t n = h->size;
  if (h->productTable) {
    TransformFused(a, b);
    return;
  }
  if (a->mode == kConvolveDouble) {
    // The two channels' even phases side by side.
    double* x = h->lanes[0];
    for (int32_t i = 0; i < n; ++i) {
      x[2 * i] = a->fftBuffer[2 * i];
      x[2 * i + 1] = b->fftBuffer[2 * i];
    }
    Forward(h, x);
    MultiplyIntoLanes(n, x, 0, h->evenTaps, h->oddTaps, a->lastOutput);
    MultiplyIntoLanes(n, x, 1, h->evenTaps, h->oddTaps, b->lastOutput);
    Inverse(h, a->lastOutput);
    Inverse(h, b->lastOutput);
    return;
  }
  Forward(h, a->fftBuffer);
  Forward(h, b->fftBuffer);
  double* y = h->lanes[0];
  double* tmp = h->lanes[1];
  MultiplyAddLanes(n, a->fftBuffer, h->evenTaps, a->fftBuffer + 1, h->oddTaps, tmp, 0);
  for (int32_t i = 0; i < n; ++i) y[2 * i] = tmp[i];
  MultiplyAddLanes(n, b->fftBuffer, h->evenTaps, b->fftBuffer + 1, h->oddTaps, tmp, 0);
  for (int32_t i = 0; i < n; ++i) y[2 * i + 1] = tmp[i];
  Inverse(h, y);
  ScatterKept(h, y, 2, a->lastOutput);
  ScatterKept(h, y + 1, 2, b->lastOutput);
}
