#pragma once

#include <cstdint>

struct BlockConvolver;
struct FFTWorkArea;
struct LowPassKernel;

// The block transform of a doubling or halving stage at half the size: the
// stuffed zeros of a doubling stage and the skipped outputs of a halving
// stage carry nothing, so the block's filter-rate samples split into their
// even and odd phases (B samples each over the transform's two blocks), and
// the kernel into its even and odd taps. Doubling: each output phase is the
// even inputs through one tap phase. Halving: the kept output phase is the
// sum of each input phase through its tap phase. Same taps, block, latency
// and outputs as the full-size transform, within rounding.
struct HalfBlockTransform {
  int32_t size;         // N' = B: the half-size transform
  FFTWorkArea* workArea;
  double* evenTaps;     // N' doubles each: packed spectra, scaled for the unscaled inverse
  double* oddTaps;
  int32_t keptParity;   // halving: the block positions kept (0 or 1)
  double* lanes[2];     // 2 N' doubles each: two phases or two channels side by side
  // HalfBlockPasses' product table of the two tap spectra (4 N' doubles)
  // and pass twiddles (3 N' / 4 doubles, forward then inverse), or null
  // where the transforms take the two-lane passes.
  double* productTable;
  double* passTwiddles;
  double* product;  // 2 N' doubles: a halving pair's products and inverse, or null
};

// Whether the stage keeps its blocks compact for HalfBlockPasses (h has a
// product table): fftBuffer then holds the current block and history the
// previous one, a doubling stage's as its B / 2 input samples (the stuffed
// zeros and the factor 2 are left to the transform), a halving stage's as
// its B filter-rate samples; each transform swaps the two buffers.
// A halving stage's lastOutput then holds only the B / 2 kept results, in
// order from its front.
bool HalfBlockKeepsCompactBlocks(const HalfBlockTransform* h);

// Whether a stage (mode, block and kernel set) takes the half-size transform.
bool StageSuitsHalfBlockTransform(const BlockConvolver* stage);

// Allocates; takes a work area of size B from the pool.
HalfBlockTransform* NewHalfBlockTransform(const BlockConvolver* stage);
// Gives the work area back and frees.
void DeleteHalfBlockTransform(HalfBlockTransform* half);

// Filters the stage's full block (fftBuffer: [current | previous] at the
// filter rate) and writes the block's result to the first B samples of
// lastOutput (a halving stage: the kept positions only, or with compact
// blocks the kept results only).
void TransformHalfBlock(BlockConvolver* stage);

// The same for two stages in step, their channels side by side in one
// transform each way.
void TransformHalfBlockPair(BlockConvolver* a, BlockConvolver* b);
