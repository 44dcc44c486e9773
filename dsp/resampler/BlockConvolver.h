#pragma once

#include "dsp/resampler/FFTWorkAreaPool.h"
#include "dsp/resampler/LowPassKernel.h"

#include <cstdint>

struct DirectStage;
struct HalfBlockTransform;

// One converter stage: overlap-save FFT convolution with a shared low-pass
// kernel, in blocks of B filter-rate samples with one block of latency,
// optionally doubling (zero-stuffing) or halving (keeping every second
// output) the rate. The stage discards the start-up samples its filter and
// block delay add, so its output is time-aligned with its input. A short
// kernel is applied directly instead (DirectStage), with the same output
// counts and alignment.
enum BlockConvolverMode {
  kConvolveFilter = 0,
  kConvolveDouble = 1,
  kConvolveHalve = 2,
};

// Which paths a stage may take, chosen once at set-up. The full-size block
// transform is the arithmetic the faster paths are held to.
enum BlockConvolverPaths {
  kFastestPaths = 0,    // a short kernel directly, doubling and halving through half-size transforms
  kTransformsOnly = 1,  // always the full-size block transform
};

struct BlockConvolver {
  LowPassKernel* kernel;   // holds one reference
  FFTWorkArea* workArea;   // size 2B, from the pool
  int32_t mode;
  int32_t upShift;         // 1 when doubling: input counts shift to filter-rate counts
  int32_t blockSize;       // B
  int32_t dropCount;       // h + B + integer part of the incoming delay
  double fracDelay;        // fractional delay handed to the next stage, in output samples
  double* history;         // the previous block's B filter-rate inputs
  double* fftBuffer;       // 2B: [current block | previous block], transformed in place
  double* lastOutput;      // 2B: the last block's result; its first B samples are output
  double* pairBuffer;      // 8B: a full-size pair transform's work (ConvolveBlockPair), or null
  int32_t need;            // filter-rate samples missing from the current block
  int32_t drop;            // output samples still to discard
  int32_t decimPhase;      // when halving: index of the next kept sample, 0 or 1
  DirectStage* direct;     // a short kernel's direct path, or null (block transforms)
  HalfBlockTransform* half;  // a doubling or halving stage's half-size transforms, or null
};

// Takes a work area of the kernel's size; keeps the caller's reference to
// the kernel. incomingDelay: the previous stage's fractional delay. paths:
// a BlockConvolverPaths; with kTransformsOnly, direct and half stay null.
void InitBlockConvolver(BlockConvolver* stage, LowPassKernel* kernel, int32_t mode,
                        double incomingDelay, int32_t paths = kFastestPaths);

// Releases the kernel reference (under the cache mutex), frees the buffers,
// then gives the work area back (under the pool mutex). Safe on a cleared
// record.
void ReleaseBlockConvolver(BlockConvolver* stage);

// Silent history, block counters and the discard back at their start values.
void ResetBlockConvolver(BlockConvolver* stage);

// Consumes `count` input samples and writes the output from *out on; may
// advance *out past discarded start-up samples. Returns the number of valid
// samples now at *out. A filter or halving stage may run in place (*out ==
// in): every chunk is read before its output is written. A doubling stage
// writes 2 count samples and needs a separate output.
int32_t ConvolveBlock(BlockConvolver* stage, const double* in, double** out, int32_t count);

// Whether two stages would do the same to equal counts: one kernel, mode and
// block, and the same fill, discard and decimation phase. Two channels'
// converters built and fed alike stay in step for good.
bool BlockConvolversInStep(const BlockConvolver* a, const BlockConvolver* b);

// ConvolveBlock of two stages in step, each on its own channel: both their
// transforms run as one (FilterPairWithTables), so each channel's result is
// bit for bit what ConvolveBlock gives it. Stages out of step are run one
// after the other. Returns the first stage's count; *producedB gets the
// second's.
int32_t ConvolveBlockPair(BlockConvolver* a, BlockConvolver* b, const double* inA, const double* inB, double** outA,
                          double** outB, int32_t count, int32_t* producedB);
