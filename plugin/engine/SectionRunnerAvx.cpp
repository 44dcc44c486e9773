// The wide variants of the section runner: two sections per 256-bit
// register (AVX2) or four per 512-bit register (AVX-512F), each register's
// lanes holding the (first, second) pairs of consecutive sections. Only
// these functions are built for those instruction sets, and only called
// when the processor has them.
//
// Each wavefront step shifts the registers' outputs up by one pair: the
// section in a pair slot takes the output its predecessor left in the slot
// below, and section 0 takes the new frame. No instruction set enabled
// here includes FMA, so no multiply and add can be fused, and the step stays
// the scalar chain's, rounding for rounding.
#include <algorithm>
#include <array>
#include <utility>

#include "plugin/engine/BiquadSection.h"
#include "plugin/engine/SectionRunnerDetail.h"

#ifdef BRIMLOW_SECTION_RUNNER_X86

#include <immintrin.h>

// GCC's AVX-512 headers fill unused lanes from a deliberately undefined
// value, which its own uninitialised-use warning then reports once inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace {

using SectionRunnerDetail::LoadFrame;
using SectionRunnerDetail::StoreFrame;

// Lane-major copies of a pass's coefficients and states: lane j, counted
// across the registers in turn, holds section j / 2, channel j % 2. Missing
// sections (a pass shorter than its registers) stay zero and are never
// written back.
template <int Lanes>
struct alignas(64) PassLanes {
  double b0[Lanes] = {}, b1[Lanes] = {}, b2[Lanes] = {}, a1[Lanes] = {}, a2[Lanes] = {};
  double x1[Lanes] = {}, x2[Lanes] = {}, y1[Lanes] = {}, y2[Lanes] = {};

  void Gather(const SectionPair* s, int count) {
    for (int k = 0; k < count; ++k) {
      for (int c = 0; c < 2; ++c) {
        const int j = 2 * k + c;
        b0[j] = s[k].b0[c];
        b1[j] = s[k].b1[c];
        b2[j] = s[k].b2[c];
        a1[j] = s[k].a1[c];
        a2[j] = s[k].a2[c];
        x1[j] = s[k].x1[c];
        x2[j] = s[k].x2[c];
        y1[j] = s[k].y1[c];
        y2[j] = s[k].y2[c];
      }
    }
  }
  void Scatter(SectionPair* s, int count) const {
    for (int k = 0; k < count; ++k) {
      for (int c = 0; c < 2; ++c) {
        const int j = 2 * k + c;
        s[k].x1[c] = x1[j];
        s[k].x2[c] = x2[j];
        s[k].y1[c] = y1[j];
        s[k].y2[c] = y2[j];
      }
    }
  }
};

// Helpers inside the wide functions carry the same instruction set and are
// always inlined, so that the register arrays below become registers.
#define BRIMLOW_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline
#define BRIMLOW_AVX512_INLINE __attribute__((target("avx512f"), always_inline)) inline

// ---- AVX2: two sections per register. ----

// Four registers of state (all sixteen with the work spilling a little):
// fewer leave the recursions waiting on one another, more spill the states.
constexpr int kAvx2Registers = 4;

// The two latest inputs and outputs of each register, in a pair of slots
// that take turns: a step overwrites the older slot, so that two steps in a
// row need no register moves at all. Phase p means slot p holds the latest.
template <int Registers>
struct Avx2State {
  __m256d x[2][Registers], y[2][Registers];
};

// Register R, then the ones below it; Latest is the slot of x1 and y1.
template <int R, int Registers, int Latest>
BRIMLOW_AVX2_INLINE void StepAvx2(Avx2State<Registers>& st, const PassLanes<4 * Registers>& c, __m128d in,
                                  __m256d offset) {
  constexpr int kOlder = 1 - Latest;
  __m256d u;
  if constexpr (R == 0) {
    u = _mm256_insertf128_pd(_mm256_castpd128_pd256(in), _mm256_castpd256_pd128(st.y[Latest][0]), 1);
  } else {
    u = _mm256_permute2f128_pd(st.y[Latest][R - 1], st.y[Latest][R], 0x21);
  }
  const __m256d x = _mm256_add_pd(u, offset);
  __m256d y = _mm256_add_pd(_mm256_mul_pd(_mm256_load_pd(c.b1 + 4 * R), st.x[Latest][R]),
                            _mm256_mul_pd(_mm256_load_pd(c.b0 + 4 * R), x));
  y = _mm256_add_pd(y, _mm256_mul_pd(_mm256_load_pd(c.b2 + 4 * R), st.x[kOlder][R]));
  y = _mm256_sub_pd(y, _mm256_mul_pd(_mm256_load_pd(c.a1 + 4 * R), st.y[Latest][R]));
  y = _mm256_sub_pd(y, _mm256_mul_pd(_mm256_load_pd(c.a2 + 4 * R), st.y[kOlder][R]));
  y = _mm256_add_pd(y, offset);
  st.x[kOlder][R] = x;
  st.y[kOlder][R] = y;
  if constexpr (R > 0) StepAvx2<R - 1, Registers, Latest>(st, c, in, offset);
}

// The last section's output, for frame t - (Count - 1).
template <int Registers, int Count, int Latest>
BRIMLOW_AVX2_INLINE void OutputAvx2(const Avx2State<Registers>& st, double* first, double* second, int t) {
  const __m256d last = st.y[Latest][Registers - 1];
  const __m128d out = (Count % 2) ? _mm256_castpd256_pd128(last) : _mm256_extractf128_pd(last, 1);
  StoreFrame(first, second, t - (Count - 1), out);
}

template <int Registers, int Count>
__attribute__((target("avx2"))) void SteadyAvx2(SectionPair* s, double* first, double* second, int from, int to) {
  static_assert(Count > 2 * (Registers - 1) && Count <= 2 * Registers, "Count fills the last register");
  PassLanes<4 * Registers> lanes;
  lanes.Gather(s, Count);
  Avx2State<Registers> st;
#pragma GCC unroll 8
  for (int r = 0; r < Registers; ++r) {
    st.x[0][r] = _mm256_load_pd(lanes.x1 + 4 * r);
    st.x[1][r] = _mm256_load_pd(lanes.x2 + 4 * r);
    st.y[0][r] = _mm256_load_pd(lanes.y1 + 4 * r);
    st.y[1][r] = _mm256_load_pd(lanes.y2 + 4 * r);
  }
  const __m256d offset = _mm256_set1_pd(kDenormalOffset);
  int t = from;
  for (; t + 1 < to; t += 2) {
    StepAvx2<Registers - 1, Registers, 0>(st, lanes, LoadFrame(first, second, t), offset);
    OutputAvx2<Registers, Count, 1>(st, first, second, t);
    StepAvx2<Registers - 1, Registers, 1>(st, lanes, LoadFrame(first, second, t + 1), offset);
    OutputAvx2<Registers, Count, 0>(st, first, second, t + 1);
  }
  // An odd count leaves the latest values in slot 1.
  const bool odd = t < to;
  if (odd) {
    StepAvx2<Registers - 1, Registers, 0>(st, lanes, LoadFrame(first, second, t), offset);
    OutputAvx2<Registers, Count, 1>(st, first, second, t);
  }
#pragma GCC unroll 8
  for (int r = 0; r < Registers; ++r) {
    _mm256_store_pd(lanes.x1 + 4 * r, odd ? st.x[1][r] : st.x[0][r]);
    _mm256_store_pd(lanes.x2 + 4 * r, odd ? st.x[0][r] : st.x[1][r]);
    _mm256_store_pd(lanes.y1 + 4 * r, odd ? st.y[1][r] : st.y[0][r]);
    _mm256_store_pd(lanes.y2 + 4 * r, odd ? st.y[0][r] : st.y[1][r]);
  }
  lanes.Scatter(s, Count);
}

template <int Count>
void SteadyPassAvx2(SectionPair* s, double* first, double* second, int from, int to) {
  SteadyAvx2<(Count + 1) / 2, Count>(s, first, second, from, to);
}

// ---- AVX-512: four sections per register. ----

// Six registers of state (24 of 32) leave eight for the work.
constexpr int kAvx512Registers = 6;

template <int Registers>
struct Avx512State {
  __m512d x[2][Registers], y[2][Registers];
};

template <int R, int Registers, int Latest>
BRIMLOW_AVX512_INLINE void StepAvx512(Avx512State<Registers>& st, const PassLanes<8 * Registers>& c, __m128d in,
                                      __m512d offset) {
  constexpr int kOlder = 1 - Latest;
  __m512d u;
  if constexpr (R == 0) {
    // The new frame in lanes 0 and 1, then lanes 0 to 5 of this register.
    const __m512i take = _mm512_set_epi64(13, 12, 11, 10, 9, 8, 1, 0);
    u = _mm512_permutex2var_pd(_mm512_castpd128_pd512(in), take, st.y[Latest][0]);
  } else {
    // Lanes 6 and 7 of the register below, then lanes 0 to 5 of this one.
    const __m512i shift = _mm512_set_epi64(13, 12, 11, 10, 9, 8, 7, 6);
    u = _mm512_permutex2var_pd(st.y[Latest][R - 1], shift, st.y[Latest][R]);
  }
  const __m512d x = _mm512_add_pd(u, offset);
  __m512d y = _mm512_add_pd(_mm512_mul_pd(_mm512_load_pd(c.b1 + 8 * R), st.x[Latest][R]),
                            _mm512_mul_pd(_mm512_load_pd(c.b0 + 8 * R), x));
  y = _mm512_add_pd(y, _mm512_mul_pd(_mm512_load_pd(c.b2 + 8 * R), st.x[kOlder][R]));
  y = _mm512_sub_pd(y, _mm512_mul_pd(_mm512_load_pd(c.a1 + 8 * R), st.y[Latest][R]));
  y = _mm512_sub_pd(y, _mm512_mul_pd(_mm512_load_pd(c.a2 + 8 * R), st.y[kOlder][R]));
  y = _mm512_add_pd(y, offset);
  st.x[kOlder][R] = x;
  st.y[kOlder][R] = y;
  if constexpr (R > 0) StepAvx512<R - 1, Registers, Latest>(st, c, in, offset);
}

template <int Registers, int Count, int Latest>
BRIMLOW_AVX512_INLINE void OutputAvx512(const Avx512State<Registers>& st, double* first, double* second, int t) {
  constexpr int kLastSlot = (Count - 1) % 4;  // the pair slot of the last section
  const __m256d half = _mm512_extractf64x4_pd(st.y[Latest][Registers - 1], kLastSlot / 2);
  const __m128d out = (kLastSlot % 2) ? _mm256_extractf128_pd(half, 1) : _mm256_castpd256_pd128(half);
  StoreFrame(first, second, t - (Count - 1), out);
}

template <int Registers, int Count>
__attribute__((target("avx512f"))) void SteadyAvx512(SectionPair* s, double* first, double* second, int from,
                                                     int to) {
  static_assert(Count > 4 * (Registers - 1) && Count <= 4 * Registers, "Count fills the last register");
  PassLanes<8 * Registers> lanes;
  lanes.Gather(s, Count);
  Avx512State<Registers> st;
#pragma GCC unroll 8
  for (int r = 0; r < Registers; ++r) {
    st.x[0][r] = _mm512_load_pd(lanes.x1 + 8 * r);
    st.x[1][r] = _mm512_load_pd(lanes.x2 + 8 * r);
    st.y[0][r] = _mm512_load_pd(lanes.y1 + 8 * r);
    st.y[1][r] = _mm512_load_pd(lanes.y2 + 8 * r);
  }
  const __m512d offset = _mm512_set1_pd(kDenormalOffset);
  int t = from;
  for (; t + 1 < to; t += 2) {
    StepAvx512<Registers - 1, Registers, 0>(st, lanes, LoadFrame(first, second, t), offset);
    OutputAvx512<Registers, Count, 1>(st, first, second, t);
    StepAvx512<Registers - 1, Registers, 1>(st, lanes, LoadFrame(first, second, t + 1), offset);
    OutputAvx512<Registers, Count, 0>(st, first, second, t + 1);
  }
  // An odd count leaves the latest values in slot 1.
  const bool odd = t < to;
  if (odd) {
    StepAvx512<Registers - 1, Registers, 0>(st, lanes, LoadFrame(first, second, t), offset);
    OutputAvx512<Registers, Count, 1>(st, first, second, t);
  }
#pragma GCC unroll 8
  for (int r = 0; r < Registers; ++r) {
    _mm512_store_pd(lanes.x1 + 8 * r, odd ? st.x[1][r] : st.x[0][r]);
    _mm512_store_pd(lanes.x2 + 8 * r, odd ? st.x[0][r] : st.x[1][r]);
    _mm512_store_pd(lanes.y1 + 8 * r, odd ? st.y[1][r] : st.y[0][r]);
    _mm512_store_pd(lanes.y2 + 8 * r, odd ? st.y[0][r] : st.y[1][r]);
  }
  lanes.Scatter(s, Count);
}

template <int Count>
void SteadyPassAvx512(SectionPair* s, double* first, double* second, int from, int to) {
  SteadyAvx512<(Count + 3) / 4, Count>(s, first, second, from, to);
}

using SteadyFn = void (*)(SectionPair*, double*, double*, int, int);

// Steady[c - 1] runs the steady part of a pass of c sections.
template <template <int> class Steady, int... C>
constexpr std::array<SteadyFn, sizeof...(C)> MakeSteadyTable(std::integer_sequence<int, C...>) {
  return {Steady<C + 1>::Run...};
}
template <int C>
struct Avx2Steady {
  static void Run(SectionPair* s, double* a, double* b, int from, int to) { SteadyPassAvx2<C>(s, a, b, from, to); }
};
template <int C>
struct Avx512Steady {
  static void Run(SectionPair* s, double* a, double* b, int from, int to) { SteadyPassAvx512<C>(s, a, b, from, to); }
};

template <int MaxCount, template <int> class Steady>
void RunInPasses(SectionPair* sections, int count, double* first, double* second, int n) {
  static constexpr std::array<SteadyFn, MaxCount> kSteady =
      MakeSteadyTable<Steady>(std::make_integer_sequence<int, MaxCount>{});
  for (int done = 0; done < count; done += MaxCount) {
    const int passCount = std::min(MaxCount, count - done);
    SectionPair* s = sections + done;
    SectionRunnerDetail::RunPass(s, passCount, first, second, n,
                                 [&](int from, int to) { kSteady[passCount - 1](s, first, second, from, to); });
  }
}

}  // namespace

void SectionRunnerDetail::RunSectionsAvx2(SectionPair* sections, int count, double* first, double* second, int n) {
  RunInPasses<2 * kAvx2Registers, Avx2Steady>(sections, count, first, second, n);
}

void SectionRunnerDetail::RunSectionsAvx512(SectionPair* sections, int count, double* first, double* second,
                                            int n) {
  RunInPasses<4 * kAvx512Registers, Avx512Steady>(sections, count, first, second, n);
}

#endif  // BRIMLOW_SECTION_RUNNER_X86
