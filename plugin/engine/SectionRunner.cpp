#include "plugin/engine/SectionRunner.h"

#include <algorithm>
#include <array>
#include <utility>

#include "plugin/engine/BiquadSection.h"
#include "plugin/engine/SectionRunnerDetail.h"

namespace {

// Section by section, lane by lane: the plain form of the chain, for
// processors without SSE2.
void RunSectionsPortable(SectionPair* sections, int count, double* first, double* second, int n) {
  double* channels[2] = {first, second};
  for (int k = 0; k < count; ++k) {
    SectionPair& s = sections[k];
    for (int lane = 0; lane < 2; ++lane) {
      const double b0 = s.b0[lane], b1 = s.b1[lane], b2 = s.b2[lane], a1 = s.a1[lane], a2 = s.a2[lane];
      double x1 = s.x1[lane], x2 = s.x2[lane], y1 = s.y1[lane], y2 = s.y2[lane];
      double* samples = channels[lane];
      for (int i = 0; i < n; ++i) {
        const double x = samples[i] + kDenormalOffset;
        const double y = ((b1 * x1 + b0 * x) + b2 * x2) - a1 * y1 - a2 * y2 + kDenormalOffset;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        samples[i] = y;
      }
      s.x1[lane] = x1;
      s.x2[lane] = x2;
      s.y1[lane] = y1;
      s.y2[lane] = y2;
    }
  }
}

#ifdef BRIMLOW_SECTION_RUNNER_X86

using SectionRunnerDetail::DownTo0;
using SectionRunnerDetail::LoadFrame;
using SectionRunnerDetail::StoreFrame;

// Sixteen registers hold the four states of four sections with room left
// for the temporaries; a fifth section's state would be spilled.
constexpr int kSse2PassSections = 4;

// One step of a section whose state is in memory.
inline __m128d StepInMemory(SectionPair& s, __m128d in) {
  const __m128d offset = _mm_set1_pd(kDenormalOffset);
  const __m128d x = _mm_add_pd(in, offset);
  const __m128d x1 = _mm_load_pd(s.x1);
  const __m128d y1 = _mm_load_pd(s.y1);
  __m128d y = _mm_add_pd(_mm_mul_pd(_mm_load_pd(s.b1), x1), _mm_mul_pd(_mm_load_pd(s.b0), x));
  y = _mm_add_pd(y, _mm_mul_pd(_mm_load_pd(s.b2), _mm_load_pd(s.x2)));
  y = _mm_sub_pd(y, _mm_mul_pd(_mm_load_pd(s.a1), y1));
  y = _mm_sub_pd(y, _mm_mul_pd(_mm_load_pd(s.a2), _mm_load_pd(s.y2)));
  y = _mm_add_pd(y, offset);
  _mm_store_pd(s.x2, x1);
  _mm_store_pd(s.x1, x);
  _mm_store_pd(s.y2, y1);
  _mm_store_pd(s.y1, y);
  return y;
}

// Count sections in flight, their coefficients and states in registers.
template <int Count>
void SteadySse2(SectionPair* s, double* first, double* second, int from, int to) {
  __m128d b0[Count], b1[Count], b2[Count], a1[Count], a2[Count];
  __m128d x1[Count], x2[Count], y1[Count], y2[Count];
  DownTo0<Count>([&](auto k) {
    b0[k] = _mm_load_pd(s[k].b0);
    b1[k] = _mm_load_pd(s[k].b1);
    b2[k] = _mm_load_pd(s[k].b2);
    a1[k] = _mm_load_pd(s[k].a1);
    a2[k] = _mm_load_pd(s[k].a2);
    x1[k] = _mm_load_pd(s[k].x1);
    x2[k] = _mm_load_pd(s[k].x2);
    y1[k] = _mm_load_pd(s[k].y1);
    y2[k] = _mm_load_pd(s[k].y2);
  });
  const __m128d offset = _mm_set1_pd(kDenormalOffset);
  for (int t = from; t < to; ++t) {
    const __m128d in = LoadFrame(first, second, t);
    DownTo0<Count>([&](auto k) {
      const __m128d x = _mm_add_pd(k == 0 ? in : y1[k == 0 ? 0 : k - 1], offset);
      __m128d y = _mm_add_pd(_mm_mul_pd(b1[k], x1[k]), _mm_mul_pd(b0[k], x));
      y = _mm_add_pd(y, _mm_mul_pd(b2[k], x2[k]));
      y = _mm_sub_pd(y, _mm_mul_pd(a1[k], y1[k]));
      y = _mm_sub_pd(y, _mm_mul_pd(a2[k], y2[k]));
      y = _mm_add_pd(y, offset);
      x2[k] = x1[k];
      x1[k] = x;
      y2[k] = y1[k];
      y1[k] = y;
    });
    StoreFrame(first, second, t - (Count - 1), y1[Count - 1]);
  }
  DownTo0<Count>([&](auto k) {
    _mm_store_pd(s[k].x1, x1[k]);
    _mm_store_pd(s[k].x2, x2[k]);
    _mm_store_pd(s[k].y1, y1[k]);
    _mm_store_pd(s[k].y2, y2[k]);
  });
}

using SteadyFn = void (*)(SectionPair*, double*, double*, int, int);

template <int... C>
constexpr std::array<SteadyFn, sizeof...(C)> MakeSse2Table(std::integer_sequence<int, C...>) {
  return {SteadySse2<C + 1>...};
}

void RunSectionsSse2(SectionPair* sections, int count, double* first, double* second, int n) {
  static constexpr std::array<SteadyFn, kSse2PassSections> kSteady =
      MakeSse2Table(std::make_integer_sequence<int, kSse2PassSections>{});
  for (int done = 0; done < count; done += kSse2PassSections) {
    const int passCount = std::min(kSse2PassSections, count - done);
    SectionPair* s = sections + done;
    SectionRunnerDetail::RunPass(s, passCount, first, second, n,
                                 [&](int from, int to) { kSteady[passCount - 1](s, first, second, from, to); });
  }
}

bool CpuHas(SectionKernel kernel) {
  __builtin_cpu_init();
  switch (kernel) {
    case SectionKernel::kAvx2: return __builtin_cpu_supports("avx2");
    case SectionKernel::kAvx512: return __builtin_cpu_supports("avx512f");
    default: return true;
  }
}

#endif  // BRIMLOW_SECTION_RUNNER_X86

}  // namespace

#ifdef BRIMLOW_SECTION_RUNNER_X86
void SectionRunnerDetail::RunEdgeIterations(SectionPair* sections, int count, double* first, double* second, int n,
                                            int from, int to) {
  for (int t = from; t < to; ++t) {
    for (int k = std::min(count - 1, t); k >= 0; --k) {
      const int f = t - k;
      if (f >= n) break;
      const __m128d in = k > 0 ? _mm_load_pd(sections[k - 1].y1) : LoadFrame(first, second, f);
      const __m128d y = StepInMemory(sections[k], in);
      if (k == count - 1) StoreFrame(first, second, f, y);
    }
  }
}
#endif

bool IsSectionKernelAvailable(SectionKernel kernel) {
  if (kernel == SectionKernel::kPortable) return true;
#ifdef BRIMLOW_SECTION_RUNNER_X86
  return CpuHas(kernel);
#else
  return false;
#endif
}

SectionRunner GetSectionRunner(SectionKernel kernel) {
  if (!IsSectionKernelAvailable(kernel)) kernel = BestSectionKernel();
  switch (kernel) {
#ifdef BRIMLOW_SECTION_RUNNER_X86
    case SectionKernel::kSse2: return RunSectionsSse2;
    case SectionKernel::kAvx2: return SectionRunnerDetail::RunSectionsAvx2;
    case SectionKernel::kAvx512: return SectionRunnerDetail::RunSectionsAvx512;
#endif
    default: return RunSectionsPortable;
  }
}

SectionKernel BestSectionKernel() {
  static const SectionKernel best = [] {
    for (SectionKernel k : {SectionKernel::kAvx512, SectionKernel::kAvx2, SectionKernel::kSse2}) {
      if (IsSectionKernelAvailable(k)) return k;
    }
    return SectionKernel::kPortable;
  }();
  return best;
}
