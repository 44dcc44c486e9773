#include "dsp/resampler/Resampler.h"

#include "dsp/resampler/LowPassKernelCache.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

double* NewZeroed(int64_t n) { return new double[static_cast<size_t>(std::max<int64_t>(n, 1))](); }

// Appends a stage with its kernel; returns the maximum block after it.
int64_t AddStage(Resampler* r, double cutoff, double transitionPercent, double attenuationDb,
                 int32_t variant, int32_t mode, int64_t blockIn) {
  const int s = r->numStages;
  const double incoming = s > 0 ? r->stages[s - 1]->fracDelay : 0.0;
  if (r->stages[s]) {
    ReleaseBlockConvolver(r->stages[s]);
    delete r->stages[s];
  }
  LowPassKernel* kernel =
      GetCachedLowPassFilter(cutoff, transitionPercent, attenuationDb, variant, nullptr);
  r->stages[s] = new BlockConvolver;
  InitBlockConvolver(r->stages[s], kernel, mode, incoming, r->stagePaths);
  r->numStages = s + 1;
  if (mode == kConvolveDouble) return 2 * blockIn;
  if (mode == kConvolveHalve) return (blockIn + 1) / 2;
  return blockIn;
}

void AddInterpolator(Resampler* r, double numerator, double lastFracDelay, int64_t blockIn,
                     int64_t limit) {
  r->interpolator = new FracInterpolator;
  InitFracInterpolator(r->interpolator, numerator, r->dstRate, lastFracDelay);
  const int64_t most = static_cast<int64_t>(std::ceil(blockIn * r->dstRate / numerator));
  if (most < limit) {
    r->interpTarget = r->bufferA;
  } else if (most >= r->maxBlock) {
    r->interpOutput = NewZeroed(most + 1);
    r->interpTarget = r->interpOutput;
  } else {
    r->interpTarget = nullptr;
  }
}

}  // namespace

void InitResampler(Resampler* r, double srcRate, double dstRate, int32_t maxBlock,
                   double transitionPercent, double attenuationDb, int32_t variant,
                   bool allowExactChains, int32_t stagePaths) {
  std::memset(r, 0, sizeof(*r));
  r->stagePaths = stagePaths;
  r->srcRate = srcRate;
  r->dstRate = dstRate;
  r->maxBlock = std::max(maxBlock, 1);
  r->pieceBuffer = NewZeroed(r->maxBlock);
  if (srcRate == dstRate) return;

  const int64_t block = r->maxBlock;
  if (2.0 * dstRate > srcRate) {
    const double cutoff = dstRate <= srcRate ? 0.5 * dstRate / srcRate : 0.5;
    int64_t size = AddStage(r, cutoff, transitionPercent, attenuationDb, variant,
                            kConvolveDouble, block);
    int k = 0;
    double rate = srcRate;
    while (rate < dstRate && k < Resampler::kMaxStages) {
      rate *= 2.0;
      ++k;
    }
    if (allowExactChains && k >= 1 && rate == dstRate) {
      int64_t evenSize = size;
      int64_t oddSize = 0;
      for (int s = 1; s < k; ++s) {
        size = AddStage(r, 0.5, s == 1 ? 34.0 : 45.0, attenuationDb, variant, kConvolveDouble,
                        size);
        if (s & 1) {
          oddSize = size;
        } else {
          evenSize = size;
        }
      }
      r->bufferA = NewZeroed(evenSize);
      if (k >= 2) r->bufferB = NewZeroed(oddSize);
      return;
    }
    r->bufferA = NewZeroed(size);
    AddInterpolator(r, 2.0 * srcRate, r->stages[0]->fracDelay, size, size);
    return;
  }

  // Strong reduction: halve while at least four times the target remains.
  int64_t size = block;
  int h = 0;
  double scale = 1.0;
  while (srcRate >= 4.0 * dstRate * scale && r->numStages < Resampler::kMaxStages - 1) {
    const double tp = srcRate >= 8.0 * dstRate * scale ? 45.0 : 34.0;
    size = AddStage(r, 0.5, tp, attenuationDb, variant, kConvolveHalve, size);
    scale *= 2.0;
    ++h;
  }
  const double cutoff = scale * dstRate / srcRate;
  if (allowExactChains && cutoff == 0.5) {
    AddStage(r, 0.5, transitionPercent, attenuationDb, variant, kConvolveHalve, size);
    return;
  }
  size = AddStage(r, cutoff, transitionPercent, attenuationDb, variant, kConvolveFilter, size);
  AddInterpolator(r, srcRate / scale, r->stages[r->numStages - 1]->fracDelay, size, 0);
}

void FreeResampler(Resampler* r) {
  delete[] r->interpOutput;
  delete[] r->bufferB;
  delete[] r->bufferA;
  delete[] r->pieceBuffer;
  delete r->interpolator;
  r->interpOutput = r->bufferB = r->bufferA = r->pieceBuffer = nullptr;
  r->interpTarget = nullptr;
  r->interpolator = nullptr;
  for (int s = Resampler::kMaxStages - 1; s >= 0; --s) {
    if (!r->stages[s]) continue;
    ReleaseBlockConvolver(r->stages[s]);
    delete r->stages[s];
    r->stages[s] = nullptr;
  }
  r->numStages = 0;
}

void ResetResampler(Resampler* r) {
  for (int s = 0; s < r->numStages; ++s) ResetBlockConvolver(r->stages[s]);
  if (r->interpolator) ResetFracInterpolator(r->interpolator);
}

int32_t RunResamplerBlock(Resampler* r, double* channel, int32_t count, double** output) {
  *output = channel;
  if (count > r->maxBlock) return 0;
  if (count <= 0 || r->numStages == 0) return std::max(count, 0);
  const double* in = channel;
  for (int s = 0; s < r->numStages; ++s) {
    double* target = (s & 1) ? r->bufferB : r->bufferA;
    if (!target) target = const_cast<double*>(in);
    count = ConvolveBlock(r->stages[s], in, &target, count);
    in = target;
  }
  double* result = const_cast<double*>(in);
  if (r->interpolator) {
    double* target = r->interpTarget ? r->interpTarget : channel;
    count = InterpolateFractional(r->interpolator, in, target, count);
    result = target;
  }
  *output = result;
  return count;
}

bool ResamplerKeepsItsInput(const Resampler& r) {
  if (r.numStages == 0) return false;
  if (r.interpolator && !r.interpTarget) return false;
  for (int s = 0; s < r.numStages; ++s) {
    if (!((s & 1) ? r.bufferB : r.bufferA)) return false;
  }
  return true;
}

int32_t RunResamplerBlockPair(Resampler* a, Resampler* b, double* channelA, double* channelB, int32_t count,
                              double** outputA, double** outputB, int32_t* countB) {
  // Only chains of the same shape and without interpolators share their
  // stages; any other pair runs one channel after the other.
  const bool alike = a->numStages == b->numStages && !a->interpolator && !b->interpolator &&
                     a->maxBlock == b->maxBlock && count <= a->maxBlock && count > 0 && a->numStages > 0;
  if (!alike) {
    const int32_t n = RunResamplerBlock(a, channelA, count, outputA);
    *countB = RunResamplerBlock(b, channelB, count, outputB);
    return n;
  }
  const double* inA = channelA;
  const double* inB = channelB;
  int32_t countA = count;
  int32_t countOfB = count;
  for (int s = 0; s < a->numStages; ++s) {
    double* targetA = (s & 1) ? a->bufferB : a->bufferA;
    double* targetB = (s & 1) ? b->bufferB : b->bufferA;
    if (!targetA) targetA = const_cast<double*>(inA);
    if (!targetB) targetB = const_cast<double*>(inB);
    if (countA == countOfB) {
      int32_t producedB = 0;
      countA = ConvolveBlockPair(a->stages[s], b->stages[s], inA, inB, &targetA, &targetB, countA, &producedB);
      countOfB = producedB;
    } else {
      countA = ConvolveBlock(a->stages[s], inA, &targetA, countA);
      countOfB = ConvolveBlock(b->stages[s], inB, &targetB, countOfB);
    }
    inA = targetA;
    inB = targetB;
  }
  *outputA = const_cast<double*>(inA);
  *outputB = const_cast<double*>(inB);
  *countB = countOfB;
  return countA;
}

int32_t ProcessResampler(Resampler* r, const double* in, int32_t count, double* out,
                         int32_t outCapacity) {
  int32_t written = 0;
  while (count > 0) {
    const int32_t piece = std::min(count, r->maxBlock);
    std::memcpy(r->pieceBuffer, in, piece * sizeof(double));
    double* result = nullptr;
    const int32_t n = RunResamplerBlock(r, r->pieceBuffer, piece, &result);
    const int32_t keep = std::min(n, outCapacity - written);
    if (keep > 0) std::memcpy(out + written, result, keep * sizeof(double));
    written += std::max(keep, 0);
    in += piece;
    count -= piece;
  }
  return written;
}

int32_t ResamplerMaxOutput(const Resampler* r, int32_t count) {
  if (count <= 0) return 0;
  if (r->numStages == 0) return count;
  // Each halving and the interpolator may round one sample up per call.
  return static_cast<int32_t>(std::ceil(count * r->dstRate / r->srcRate)) + Resampler::kMaxStages + 1;
}
