#pragma once

// Shared by the section runner variants (SectionRunner.cpp and
// SectionRunnerAvx.cpp); not for other callers.

#include <utility>

#include "plugin/engine/SectionPair.h"

#if defined(__x86_64__) || defined(__i386__)
#define BRIMLOW_SECTION_RUNNER_X86 1
#include <emmintrin.h>
#endif

namespace SectionRunnerDetail {

// f(std::integral_constant<int, k>) for k = count - 1 down to 0. Each
// wavefront step runs the sections from the last to the first, so that
// section k still finds, in section k - 1's output, the sample of the frame
// before.
template <int Count, class F, int... K>
inline void DownTo0(F&& f, std::integer_sequence<int, K...>) {
  (f(std::integral_constant<int, Count - 1 - K>{}), ...);
}
template <int Count, class F>
inline void DownTo0(F&& f) {
  DownTo0<Count>(f, std::make_integer_sequence<int, Count>{});
}

#ifdef BRIMLOW_SECTION_RUNNER_X86
// Frame f of the two planar channels as one register, lane 0 first.
inline __m128d LoadFrame(const double* first, const double* second, int f) {
  return _mm_loadh_pd(_mm_load_sd(first + f), second + f);
}
inline void StoreFrame(double* first, double* second, int f, __m128d v) {
  _mm_storel_pd(first + f, v);
  _mm_storeh_pd(second + f, v);
}
#endif

// The iterations t in [from, to) of the wavefront over `count` sections
// whose frames t - k fall inside the block, with the states kept in the
// pairs: the start and the end of a pass, where only some sections have a
// frame to work on.
void RunEdgeIterations(SectionPair* sections, int count, double* first, double* second, int n, int from, int to);

// One pass of the wavefront: the edges by RunEdgeIterations, the
// iterations in which every section has a frame by steady(from, to).
template <class Steady>
void RunPass(SectionPair* sections, int count, double* first, double* second, int n, Steady steady) {
  const int delay = count - 1;
  RunEdgeIterations(sections, count, first, second, n, 0, delay);
  if (n > delay) steady(delay, n);
  RunEdgeIterations(sections, count, first, second, n, n > delay ? n : delay, n + delay);
}

#ifdef BRIMLOW_SECTION_RUNNER_X86
void RunSectionsAvx2(SectionPair* sections, int count, double* first, double* second, int n);
void RunSectionsAvx512(SectionPair* sections, int count, double* first, double* second, int n);
#endif

}  // namespace SectionRunnerDetail
