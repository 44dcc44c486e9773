#include "dsp/resampler/BlockConvolver.h"

#include "dsp/resampler/LowPassKernelCache.h"
#include "dsp/resampler/RealFFTWithTables.h"

#include <cstring>
#include <utility>

void InitBlockConvolver(BlockConvolver* stage, LowPassKernel* kernel, int32_t mode,
                        double incomingDelay) {
  std::memset(stage, 0, sizeof(*stage));
  stage->kernel = kernel;
  stage->mode = mode;
  stage->upShift = mode == kConvolveDouble ? 1 : 0;
  stage->workArea = AcquireFFTWorkArea(kernel->log2Block + 1);
  const int32_t b = 1 << kernel->log2Block;
  stage->blockSize = b;
  // An incoming delay counts twice at the doubled rate.
  const double delay = (mode == kConvolveDouble ? 2.0 : 1.0) * incomingDelay + kernel->delay;
  const int32_t whole = static_cast<int32_t>(delay);
  stage->dropCount = kernel->halfLength + b + whole;
  stage->fracDelay = delay - whole;
  if (mode == kConvolveHalve) stage->fracDelay *= 0.5;
  stage->history = new double[b];
  stage->fftBuffer = new double[2 * b];
  stage->lastOutput = new double[2 * b];
  ResetBlockConvolver(stage);
}

void ResetBlockConvolver(BlockConvolver* stage) {
  const int32_t b = stage->blockSize;
  if (stage->history) std::memset(stage->history, 0, b * sizeof(double));
  if (stage->fftBuffer) std::memset(stage->fftBuffer, 0, 2 * b * sizeof(double));
  if (stage->lastOutput) std::memset(stage->lastOutput, 0, 2 * b * sizeof(double));
  stage->need = b;
  stage->drop = stage->dropCount;
  stage->decimPhase = 0;
}

void ReleaseBlockConvolver(BlockConvolver* stage) {
  if (stage->kernel) ReleaseLowPassKernel(stage->kernel);
  stage->kernel = nullptr;
  delete[] stage->history;
  delete[] stage->fftBuffer;
  delete[] stage->lastOutput;
  stage->history = stage->fftBuffer = stage->lastOutput = nullptr;
  if (stage->workArea) ReleaseFFTWorkArea(stage->workArea);
  stage->workArea = nullptr;
}

namespace {

// Moves `take` filter-rate samples into the current block at its fill
// position and writes the matching samples of the last block's output.
// All inputs of the chunk are read before any output is written, so *out
// may alias the input.
void TakeChunk(BlockConvolver* stage, const double* in, int32_t firstFilterSample, int32_t take,
               double* out) {
  const int32_t b = stage->blockSize;
  const int32_t pos = b - stage->need;
  double* current = stage->fftBuffer;
  double* previous = stage->fftBuffer + b;
  std::memcpy(previous + pos, stage->history + pos, take * sizeof(double));
  if (stage->upShift) {
    // Zero-stuffing: input x becomes (2x, 0); the 2 keeps the passband gain.
    for (int32_t i = 0; i < take; ++i) {
      const int32_t f = firstFilterSample + i;
      current[pos + i] = (f & 1) ? 0.0 : 2.0 * in[f >> 1];
    }
  } else {
    std::memcpy(current + pos, in + firstFilterSample, take * sizeof(double));
  }
  std::memcpy(stage->history + pos, current + pos, take * sizeof(double));
  std::memmove(out, stage->lastOutput + pos, take * sizeof(double));
  stage->need -= take;
}

void TransformBlock(BlockConvolver* stage) {
  const int32_t n = 2 * stage->blockSize;
  double* a = stage->fftBuffer;
  FFTWorkArea* area = stage->workArea;
  RealFFTWithTables(n, 1, a, area->ip, area->w);
  const double* k = stage->kernel->spectrum;
  a[0] *= k[0];
  a[1] *= k[1];
  for (int32_t i = 2; i < n; i += 2) {
    const double re = a[i] * k[i] - a[i + 1] * k[i + 1];
    const double im = a[i] * k[i + 1] + a[i + 1] * k[i];
    a[i] = re;
    a[i + 1] = im;
  }
  RealFFTWithTables(n, -1, a, area->ip, area->w);
  // The first half is the filtered current block; the next block refills
  // the other buffer.
  std::swap(stage->fftBuffer, stage->lastOutput);
}

}  // namespace

int32_t ConvolveBlock(BlockConvolver* stage, const double* in, double** out, int32_t count) {
  if (count <= 0) return 0;
  double* dst = *out;
  const int32_t n = count << stage->upShift;
  int32_t taken = 0;
  while (n - taken >= stage->need) {
    const int32_t take = stage->need;
    TakeChunk(stage, in, taken, take, dst + taken);
    taken += take;
    TransformBlock(stage);
    stage->need = stage->blockSize;
  }
  if (n > taken) {
    const int32_t take = n - taken;
    TakeChunk(stage, in, taken, take, dst + taken);
    taken += take;
  }

  int32_t produced = taken;
  if (stage->drop > 0) {
    if (stage->drop >= produced) {
      stage->drop -= produced;
      return 0;
    }
    dst += stage->drop;
    produced -= stage->drop;
    stage->drop = 0;
    *out = dst;
  }

  if (stage->mode == kConvolveHalve) {
    const int32_t kept = (produced + 1 - stage->decimPhase) / 2;
    for (int32_t i = 0; i < kept; ++i) dst[i] = dst[2 * i + stage->decimPhase];
    stage->decimPhase = (stage->decimPhase + produced) & 1;
    produced = kept;
  }
  return produced;
}
