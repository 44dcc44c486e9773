#pragma once

#include "plugin/engine/SectionPair.h"

// Runs a chain of paired sections over a block in place: first[i] through
// lane 0 of every section in turn, second[i] through lane 1, each sample's
// result bit for bit what the chained per-sample loop gives.
//
// Sections depend on one another only through the sample they hand on, so
// the runners keep several in flight at once (section k works on frame
// t - k while section 0 takes frame t): a wavefront that overlaps their
// recursions instead of waiting on each in turn. The states live in
// registers for the length of a block and go back to the pairs at its end.
//
// Variants are chosen at run time from what the processor offers; all of
// them perform the same operations in the same order per sample, so the
// choice changes the speed, never a bit of the output.
enum class SectionKernel { kPortable = 0, kSse2 = 1, kAvx2 = 2, kAvx512 = 3 };

using SectionRunner = void (*)(SectionPair* sections, int count, double* first, double* second, int n);

// Whether this build and this processor can run the variant.
bool IsSectionKernelAvailable(SectionKernel kernel);
// The variant's runner; an unavailable one falls back to the best available.
SectionRunner GetSectionRunner(SectionKernel kernel);
// The fastest variant here, chosen once.
SectionKernel BestSectionKernel();
