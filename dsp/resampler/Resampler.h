#pragma once

#include "dsp/resampler/BlockConvolver.h"
#include "dsp/resampler/FracInterpolator.h"

#include <cstdint>

// Converts one channel from a source rate to a destination rate in blocks:
// a chain of up to eight FFT block-convolution stages (each filters and
// optionally doubles or halves the rate), followed, when the ratio is not a
// power of two, by a fractional interpolator. The chain is time-aligned and
// reports no latency: while it fills, calls return fewer samples than the
// ratio gives (none at all at first).
//
// Shapes: equal rates no stages; x2 one doubling stage (0.5 %); x4 doubling
// 0.5 % then doubling 34 %; /2 one halving stage (0.5 %); /4 halving 34 %
// then halving 0.5 %; other ratios a doubling or filter stage (after
// halvings for strong reductions) and the interpolator.
struct Resampler {
  static constexpr int kMaxStages = 8;

  BlockConvolver* stages[kMaxStages];  // in processing order; null past numStages
  int32_t numStages;                   // 0: pass-through
  FracInterpolator* interpolator;      // or null
  // Stage s writes into bufferA (even s) or bufferB (odd s); a null buffer
  // means the stage works in place in the caller's buffer.
  double* bufferA;
  double* bufferB;
  double* interpOutput;  // the interpolator's own output, or null
  double* interpTarget;  // interpOutput, bufferA (in place) or null (the caller's buffer)
  int32_t maxBlock;      // largest input block the chain is sized for
  double srcRate;
  double dstRate;
  double* pieceBuffer;   // maxBlock doubles: ProcessResampler's working copy
  int32_t stagePaths;    // the BlockConvolverPaths every stage is set up with
};

// Builds the chain; all fields are cleared first (free an initialised
// record with FreeResampler before re-initialising). maxBlock: the largest
// input block. The equaliser passes transitionPercent 0.5, attenuationDb
// 64.08, variant 0 and allowExactChains true. stagePaths: a
// BlockConvolverPaths for every stage (kTransformsOnly: the same chain with
// only full-size block transforms).
void InitResampler(Resampler* r, double srcRate, double dstRate, int32_t maxBlock,
                   double transitionPercent, double attenuationDb, int32_t variant,
                   bool allowExactChains, int32_t stagePaths = kFastestPaths);

// Frees the buffers and the interpolator, then releases and frees the
// stages from the last to the first. The record itself stays the caller's.
void FreeResampler(Resampler* r);

// Every stage and the interpolator back at their start (silent history,
// start-up discard to come); the chain and its kernels are kept.
void ResetResampler(Resampler* r);

// Runs one block of at most maxBlock samples through the chain, in the
// calling order of the stages: stage s into bufferA/bufferB or in place,
// then the interpolator into interpTarget or in place. `channel` is used
// as working memory. Sets *output to where the result lies (the channel
// buffer or a converter buffer, valid until the next call) and returns its
// count. A longer block is refused (0, *output = channel): use
// ProcessResampler for blocks of any length.
int32_t RunResamplerBlock(Resampler* r, double* channel, int32_t count, double** output);

// Whether RunResamplerBlock only reads its channel: every stage writes a
// buffer of the chain's own and no interpolator works in the channel.
bool ResamplerKeepsItsInput(const Resampler& r);

// RunResamplerBlock of two channels' converters at once: stages in step
// share their transforms (ConvolveBlockPair), and each channel's result is
// bit for bit what RunResamplerBlock gives it. Returns the first channel's
// count; *countB gets the second's.
int32_t RunResamplerBlockPair(Resampler* a, Resampler* b, double* channelA, double* channelB, int32_t count,
                              double** outputA, double** outputB, int32_t* countB);

// Converts `count` input samples of any length into `out`: the input is run
// through the chain in pieces of at most maxBlock samples, so no converter
// buffer is ever overrun. Returns the samples written; at most outCapacity
// are written (ResamplerMaxOutput gives a capacity that loses nothing).
int32_t ProcessResampler(Resampler* r, const double* in, int32_t count, double* out,
                         int32_t outCapacity);

// An upper bound on the outputs of one ProcessResampler call of `count`.
int32_t ResamplerMaxOutput(const Resampler* r, int32_t count);
