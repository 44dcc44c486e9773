#pragma once

// One sample of two sequences side by side, for transforms that run two
// channels at once. Every operator is the scalar one applied to each lane,
// so a computation written once over double and over SampleLanes gives each
// lane, bit for bit, what the double version gives that sequence alone.
// Scalars (twiddles, kernel bins) apply to both lanes. An array of n
// SampleLanes is 2n doubles: lane 0 at even positions, lane 1 at odd ones.

#if defined(__SSE2__)
#include <emmintrin.h>

struct SampleLanes {
  __m128d v;
};

inline SampleLanes operator+(SampleLanes a, SampleLanes b) { return {_mm_add_pd(a.v, b.v)}; }
inline SampleLanes operator-(SampleLanes a, SampleLanes b) { return {_mm_sub_pd(a.v, b.v)}; }
inline SampleLanes operator*(double s, SampleLanes a) { return {_mm_mul_pd(_mm_set1_pd(s), a.v)}; }
inline SampleLanes operator*(SampleLanes a, double s) { return {_mm_mul_pd(a.v, _mm_set1_pd(s))}; }

inline SampleLanes JoinLanes(const double* first, const double* second) {
  return {_mm_loadh_pd(_mm_load_sd(first), second)};
}
inline void SplitLanes(SampleLanes x, double* first, double* second) {
  _mm_storel_pd(first, x.v);
  _mm_storeh_pd(second, x.v);
}
// x and y of two neighbouring samples: (x0, y0) to first[0, 1], (x1, y1) to second[0, 1].
inline void SplitLanes2(SampleLanes x, SampleLanes y, double* first, double* second) {
  _mm_storeu_pd(first, _mm_unpacklo_pd(x.v, y.v));
  _mm_storeu_pd(second, _mm_unpackhi_pd(x.v, y.v));
}

#else

struct SampleLanes {
  double lane[2];
};

inline SampleLanes operator+(SampleLanes a, SampleLanes b) { return {{a.lane[0] + b.lane[0], a.lane[1] + b.lane[1]}}; }
inline SampleLanes operator-(SampleLanes a, SampleLanes b) { return {{a.lane[0] - b.lane[0], a.lane[1] - b.lane[1]}}; }
inline SampleLanes operator*(double s, SampleLanes a) { return {{s * a.lane[0], s * a.lane[1]}}; }
inline SampleLanes operator*(SampleLanes a, double s) { return {{a.lane[0] * s, a.lane[1] * s}}; }

inline SampleLanes JoinLanes(const double* first, const double* second) { return {{*first, *second}}; }
inline void SplitLanes(SampleLanes x, double* first, double* second) {
  *first = x.lane[0];
  *second = x.lane[1];
}
inline void SplitLanes2(SampleLanes x, SampleLanes y, double* first, double* second) {
  SplitLanes(x, first, second);
  SplitLanes(y, first + 1, second + 1);
}

#endif

inline SampleLanes& operator+=(SampleLanes& a, SampleLanes b) { return a = a + b; }
inline SampleLanes& operator-=(SampleLanes& a, SampleLanes b) { return a = a - b; }
inline SampleLanes& operator*=(SampleLanes& a, double s) { return a = a * s; }

static_assert(sizeof(SampleLanes) == 2 * sizeof(double), "an array of lanes is an array of interleaved doubles");
