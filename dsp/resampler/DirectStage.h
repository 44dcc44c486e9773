#pragma once

#include <cstdint>

struct BlockConvolver;
struct LowPassKernel;

// A converter stage with a short kernel, applied sample by sample instead of
// by block transforms: the same taps, alignment, discard and counts as the
// transform path, computed only where an output is kept. Doubling splits
// the kernel into its two output phases (the stuffed zeros take no
// products), halving into its even and odd taps on the even and odd inputs
// (the skipped outputs take none), and every phase is symmetric, so mirrored
// inputs share one product.
struct DirectStage {
  static constexpr int32_t kPiece = 1024;  // input samples taken per pass

  double* phaseTaps[2];    // doubling: output phases 0, 1; halving: even, odd taps; filter: the kernel
  int32_t phaseLength[2];
  int32_t streams;         // input histories: 2 when halving (even and odd samples), else 1
  double* history[2];      // the input stream(s), the newest `length` samples from global index `base`
  int64_t base[2];
  int32_t length[2];
  int32_t keep;            // samples kept from one pass to the next
  double* scratch[2];      // doubling: each phase's outputs of a pass before they interleave
  int64_t taken;           // filter-rate samples taken since the reset
  int32_t keptParity;      // halving: parity of the filter-rate outputs kept
};

// Whether a kernel is short enough to be applied directly.
bool KernelSuitsDirectStage(const LowPassKernel* kernel);

// Sets up the direct path of `stage` (mode, block size and discard already
// set); allocates.
DirectStage* NewDirectStage(const BlockConvolver* stage);
void DeleteDirectStage(DirectStage* direct);
// Silent history, nothing taken.
void ResetDirectStage(DirectStage* direct);

// ConvolveBlock of a stage on the direct path.
int32_t ConvolveDirect(BlockConvolver* stage, const double* in, double** out, int32_t count);
